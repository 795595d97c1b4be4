#pragma once

#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "platform/kits/webkit/KeyValueObservation.hpp"
#include "platform/kits/webkit/NavigationDelegate.hpp"
#include "platform/kits/webkit/UIDelegate.hpp"
#include "platform/kits/webkit/WebPage.hpp"
#include "platform/kits/webkit/WebViewConfiguration.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace webkit {

// A view that shows web pages, backed by the installed backend's engine. Used on the main thread.
// The delegates are not owned; they must outlive the web view or be cleared first.
class WebView {
public:
    explicit WebView(WebViewConfiguration configuration);
    ~WebView();
    WebView(const WebView&) = delete;
    WebView& operator=(const WebView&) = delete;

    [[nodiscard]] const WebViewConfiguration& configuration() const noexcept { return configuration_; }

    void load(const foundation::URLRequest& request);
    void reload();
    void stopLoading();

    // The address of the page shown or being committed; none before the first load.
    [[nodiscard]] std::optional<foundation::URL> url() const;
    [[nodiscard]] std::optional<std::string> title() const;
    [[nodiscard]] bool isLoading() const;

    [[nodiscard]] double pageZoom() const;
    void setPageZoom(double zoom);

    void setAllowsBackForwardNavigationGestures(bool allows);
    void setUnderPageBackgroundColor(double red, double green, double blue, double alpha);
    // Off: the view draws no background of its own, so what is behind it shows until a page paints.
    void setDrawsBackground(bool draws);

    [[nodiscard]] NavigationDelegate* navigationDelegate() const noexcept { return navigationDelegate_; }
    void setNavigationDelegate(NavigationDelegate* delegate) noexcept { navigationDelegate_ = delegate; }
    [[nodiscard]] UIDelegate* uiDelegate() const noexcept { return uiDelegate_; }
    void setUIDelegate(UIDelegate* delegate) noexcept { uiDelegate_ = delegate; }

    // Calls `changed` after every change of the URL or of the title, on the main thread.
    [[nodiscard]] KeyValueObservation observeURL(std::function<void()> changed);
    [[nodiscard]] KeyValueObservation observeTitle(std::function<void()> changed);

    // Makes the page its window's keyboard focus when it is in a window.
    void becomeFirstResponderOfWindow();
    [[nodiscard]] bool isInWindow() const;

    // The engine's page, for the backend that made it and for the window that shows it.
    [[nodiscard]] WebPage& page() const noexcept { return *page_; }

    // What the engine calls when a property changed.
    void engineDidChangeURL();
    void engineDidChangeTitle();

private:
    enum class Property : std::uint8_t { url, title };
    KeyValueObservation observe(Property property, std::function<void()> changed);
    void notify(Property property);

    WebViewConfiguration configuration_;
    NavigationDelegate* navigationDelegate_ = nullptr;
    UIDelegate* uiDelegate_ = nullptr;
    struct Observers {
        std::uint64_t next = 0;
        std::map<std::uint64_t, std::pair<Property, std::function<void()>>> byId;
    };
    // Shared with the observation tokens, which may outlive the web view.
    std::shared_ptr<Observers> observers_ = std::make_shared<Observers>();
    std::unique_ptr<WebPage> page_;
};

}  // namespace webkit
