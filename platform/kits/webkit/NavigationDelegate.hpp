#pragma once

#include "platform/kits/webkit/Download.hpp"
#include "platform/kits/webkit/NavigationAction.hpp"
#include "platform/kits/webkit/NavigationActionPolicy.hpp"
#include "platform/kits/webkit/NavigationResponse.hpp"
#include "platform/kits/webkit/NavigationResponsePolicy.hpp"

#include <functional>

namespace webkit {

class WebView;

// Follows a web view's navigations and decides on them. Called on the main thread; a decision
// handler must be called exactly once, at once or later. What a delegate leaves alone gets the
// engine's default: allow every navigation, show what the engine can show.
class NavigationDelegate {
public:
    using ActionDecisionHandler = std::function<void(NavigationActionPolicy)>;
    using ResponseDecisionHandler = std::function<void(NavigationResponsePolicy)>;

    virtual ~NavigationDelegate() = default;

    virtual void didStartProvisionalNavigation(WebView& /*webView*/) {}
    virtual void didFinishNavigation(WebView& /*webView*/) {}
    // The navigation failed (no connection, a reset, a refused certificate); the engine shows no
    // page of its own for it, and the page shown before stays.
    virtual void didFailNavigation(WebView& /*webView*/) {}
    virtual void decidePolicyForNavigationAction(WebView& /*webView*/, const NavigationAction& /*action*/,
                                                 ActionDecisionHandler decisionHandler) {
        decisionHandler(NavigationActionPolicy::allow);
    }
    virtual void decidePolicyForNavigationResponse(WebView& /*webView*/, const NavigationResponse& response,
                                                   ResponseDecisionHandler decisionHandler) {
        decisionHandler(response.canShowMIMEType ? NavigationResponsePolicy::allow
                                                 : NavigationResponsePolicy::download);
    }
    virtual void navigationActionDidBecomeDownload(WebView& /*webView*/, const NavigationAction& /*action*/,
                                                   Download& /*download*/) {}
    virtual void navigationResponseDidBecomeDownload(WebView& /*webView*/,
                                                     const NavigationResponse& /*response*/,
                                                     Download& /*download*/) {}

protected:
    NavigationDelegate() = default;
    NavigationDelegate(const NavigationDelegate&) = default;
    NavigationDelegate& operator=(const NavigationDelegate&) = default;
};

}  // namespace webkit
