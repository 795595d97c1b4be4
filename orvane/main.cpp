#include "kestrova/intents/IntentSchema.hpp"
#include "orvane/IntentHandler.hpp"
#include "platform/intents/ExtensionRuntime.hpp"

// The extension process: its host starts it, as the system would, and talks
// to it over its standard streams.
int main() {
    kestrova::registerIntentSchema();
    orvane::IntentHandler extension;
    return intents::ExtensionRuntime::run(extension);
}
