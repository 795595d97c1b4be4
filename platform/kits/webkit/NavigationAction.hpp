#pragma once

#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/webkit/EventModifierFlags.hpp"
#include "platform/kits/webkit/FrameInfo.hpp"
#include "platform/kits/webkit/NavigationType.hpp"

#include <optional>

namespace webkit {

// A navigation the web view is about to make, for the navigation delegate to decide on.
struct NavigationAction {
    // The mouse button of the click, in the other platform's numbering: 0 none, 1 left, 2 right,
    // 4 middle.
    static constexpr int middleButton = 4;

    NavigationType navigationType = NavigationType::other;
    int buttonNumber = 0;
    EventModifierFlags modifierFlags;
    // None when the navigation opens a new window.
    std::optional<FrameInfo> targetFrame = FrameInfo{};
    // False when the engine cannot tell whether `targetFrame` is the main frame or an inner one;
    // the navigation's response then says which it was (NavigationResponse::isForMainFrame).
    bool targetFrameIsKnown = true;
    // The request's URL; none when the request has none.
    std::optional<foundation::URL> requestURL;
    // The page asked for a download (a link with the download attribute).
    bool shouldPerformDownload = false;
    // The person started it (a click, a key press), not a script on its own.
    bool isUserGesture = false;
};

}  // namespace webkit
