#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

#include <optional>
#include <string>

namespace webkit {

// A server's answer to a navigation, for the navigation delegate to decide whether to show it.
struct NavigationResponse {
    std::optional<foundation::URL> url;
    // Without parameters, lower case; none when the server sent no type.
    std::optional<std::string> mimeType;
    std::optional<std::string> suggestedFilename;
    // Whether the web view can display this MIME type itself.
    bool canShowMIMEType = false;
    bool isForMainFrame = true;
};

}  // namespace webkit
