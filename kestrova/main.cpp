#include "platform/backends/desktop/DesktopBackend.hpp"
#include "platform/runtime/foundation/core/DevelopmentCertificate.hpp"
#include "kestrova/intents/IntentSchema.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/shell/Kestrova.hpp"

#include <exception>
#include <iostream>
#include <string>
#include <utility>

int main(int argc, char** argv) {
    // Activities handed over on the bus carry intents, which decode only by their class names.
    kestrova::registerIntentSchema();
    // A development server's certificate vouches for the service's hosts, and for the foreign site
    // on "www." that the local stand-in serves beside them, so that its pages and frames load as
    // another site's would; for nothing else.
    auto developmentHosts = kestrova::serviceHosts();
    developmentHosts.push_back("www." + std::string(kestrova::webHost()));
    foundation::DevelopmentCertificate::limitToHosts(std::move(developmentHosts));
    try {
        desktop::installAll(desktop::ApplicationIdentity{kestrova::Kestrova::applicationIdentifier(), "kestrova"});
    } catch (const std::exception& error) {
        std::cerr << "kestrova: " << error.what() << '\n';
        return 1;
    }
    return kestrova::Kestrova::main(argc, argv);
}
