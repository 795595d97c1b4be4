#include "kestrova/intents/IntentSchema.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "pellicor/KestrovaWidgets.hpp"
#include "platform/runtime/foundation/core/DevelopmentCertificate.hpp"

// The extension process: the widget host starts it, as the system would, and asks it for entries
// over its standard streams.
int main() {
    foundation::DevelopmentCertificate::limitToHosts(kestrova::serviceHosts());
    // The Journal widget's configuration arrives archived: its classes must be known first.
    kestrova::registerIntentSchema();
    return pellicor::KestrovaWidgets().main();
}
