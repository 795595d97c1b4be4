#include "kestrova/intents/IntentSchema.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "orvane/IntentHandler.hpp"
#include "platform/runtime/foundation/core/DevelopmentCertificate.hpp"
#include "platform/kits/intents/ExtensionRuntime.hpp"
#include "platform/kits/widgetkit/ReloadRequestTimelineService.hpp"

#include <memory>

// The extension process: its host starts it, as the system would, and talks
// to it over its standard streams.
int main() {
    foundation::DevelopmentCertificate::limitToHosts(kestrova::serviceHosts());
    kestrova::registerIntentSchema();
    // The one kit whose service the extension uses: a published entry asks the widgets to reload.
    widgetkit::TimelineService::install(std::make_unique<widgetkit::ReloadRequestTimelineService>("orvane"));
    orvane::IntentHandler extension;
    return intents::ExtensionRuntime::run(extension);
}
