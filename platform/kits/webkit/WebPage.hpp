#pragma once

#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"

#include <optional>
#include <string>

namespace webkit {

// The engine's side of one web view, made by the installed backend. It reads the web view's
// delegates and configuration when it needs them and tells the web view when its URL, title or
// loading state change (WebView::engineDidChange...).
class WebPage {
public:
    virtual ~WebPage() = default;
    WebPage(const WebPage&) = delete;
    WebPage& operator=(const WebPage&) = delete;

    virtual void load(const foundation::URLRequest& request) = 0;
    virtual void reload() = 0;
    virtual void stopLoading() = 0;

    [[nodiscard]] virtual std::optional<foundation::URL> url() const = 0;
    [[nodiscard]] virtual std::optional<std::string> title() const = 0;
    [[nodiscard]] virtual bool isLoading() const = 0;

    [[nodiscard]] virtual double pageZoom() const = 0;
    virtual void setPageZoom(double zoom) = 0;

    virtual void setAllowsBackForwardNavigationGestures(bool allows) = 0;
    // Red, green, blue and alpha from 0 to 1.
    virtual void setUnderPageBackgroundColor(double red, double green, double blue, double alpha) = 0;
    virtual void setDrawsBackground(bool draws) = 0;

    // The toolkit widget that shows the page, for the window that holds it; none without a display.
    [[nodiscard]] virtual void* nativeView() const { return nullptr; }
    // Gives the page the keyboard focus of its window, when it is in one.
    virtual void makeFirstResponder() {}
    [[nodiscard]] virtual bool isInWindow() const { return false; }

protected:
    WebPage() = default;
};

}  // namespace webkit
