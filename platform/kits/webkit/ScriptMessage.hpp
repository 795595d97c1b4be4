#pragma once

#include <string>

namespace webkit {

// What a page posted with window.webkit.messageHandlers.NAME.postMessage(body).
struct ScriptMessage {
    std::string name;
    // The body as JSON text.
    std::string body;
};

}  // namespace webkit
