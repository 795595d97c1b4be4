#pragma once

#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/webkit/FrameInfo.hpp"
#include "platform/kits/webkit/NavigationAction.hpp"
#include "platform/kits/webkit/OpenPanelParameters.hpp"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace webkit {

class WebView;

// Shows what a page asks the user for. Called on the main thread; each completion must be called
// exactly once. The defaults answer as a web view without such a delegate does: no new window,
// a confirm is declined, a prompt and a file input get nothing.
class UIDelegate {
public:
    using ConfirmHandler = std::function<void(bool)>;
    using TextInputHandler = std::function<void(std::optional<std::string>)>;
    using OpenPanelHandler = std::function<void(std::optional<std::vector<foundation::URL>>)>;

    virtual ~UIDelegate() = default;

    // The page wants a new window. This web view kit never makes one for a page: the delegate acts
    // on the request itself and the page gets no window object.
    virtual void createWebView(WebView& /*webView*/, const NavigationAction& /*action*/) {}
    virtual void runJavaScriptConfirmPanel(WebView& /*webView*/, const std::string& /*message*/,
                                           const FrameInfo& /*frame*/, ConfirmHandler completion) {
        completion(false);
    }
    virtual void runJavaScriptTextInputPanel(WebView& /*webView*/, const std::string& /*prompt*/,
                                             const std::optional<std::string>& /*defaultText*/,
                                             const FrameInfo& /*frame*/, TextInputHandler completion) {
        completion(std::nullopt);
    }
    virtual void runOpenPanel(WebView& /*webView*/, const OpenPanelParameters& /*parameters*/,
                              const FrameInfo& /*frame*/, OpenPanelHandler completion) {
        completion(std::nullopt);
    }

protected:
    UIDelegate() = default;
    UIDelegate(const UIDelegate&) = default;
    UIDelegate& operator=(const UIDelegate&) = default;
};

}  // namespace webkit
