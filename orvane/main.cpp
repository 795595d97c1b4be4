#include "kestrova/intents/IntentSchema.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "orvane/IntentHandler.hpp"
#include "platform/foundation/DevelopmentCertificate.hpp"
#include "platform/intents/ExtensionRuntime.hpp"

// The extension process: its host starts it, as the system would, and talks
// to it over its standard streams.
int main() {
    foundation::DevelopmentCertificate::limitToHosts(kestrova::serviceHosts());
    kestrova::registerIntentSchema();
    orvane::IntentHandler extension;
    return intents::ExtensionRuntime::run(extension);
}
