#pragma once

#include "platform/kits/webkit/Preferences.hpp"
#include "platform/kits/webkit/UserContentController.hpp"

#include <memory>

namespace webkit {

// What a web view is made with. AirPlay and app-bound domains have no counterpart in the engine on
// this desktop: the settings are kept so that the caller states its intent, and nothing acts on them.
struct WebViewConfiguration {
    Preferences preferences;
    bool allowsAirPlayForMediaPlayback = false;
    bool limitsNavigationsToAppBoundDomains = false;
    std::shared_ptr<UserContentController> userContentController = std::make_shared<UserContentController>();
};

}  // namespace webkit
