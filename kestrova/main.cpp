#include "platform/backend/Backend.hpp"
#include "platform/desktop/DesktopBackend.hpp"
#include "platform/foundation/DevelopmentCertificate.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/shell/Kestrova.hpp"

#include <exception>
#include <iostream>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    foundation::DevelopmentCertificate::limitToHosts(kestrova::serviceHosts());
    try {
        backend::Backend::install(
            std::make_unique<desktop::DesktopBackend>(std::string(kestrova::Kestrova::applicationIdentifier()) + ".desktop"));
    } catch (const std::exception& error) {
        std::cerr << "kestrova: " << error.what() << '\n';
        return 1;
    }
    return kestrova::Kestrova::main(argc, argv);
}
