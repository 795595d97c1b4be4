#pragma once

#include <chrono>

namespace intents {

// How long a host waits for each answer of an extension before it gives up
// and stops it, as the system stops an extension that takes too long.
struct ExtensionAnswerBounds {
    // Options, defaults, resolutions and confirmations read the shared
    // defaults, whose reads wait at most 10 s for another process's lock:
    // three times that leaves room for the extension's start on a loaded
    // machine.
    std::chrono::seconds query{30};
    // Handling may send a request, which the extension gives up itself after
    // 60 s of connecting and 60 s more without progress: more than twice that
    // lets it report such a failure in its own words, and lets an upload
    // that goes on making progress finish.
    std::chrono::seconds handling{300};
};

}  // namespace intents
