#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/kits/webkit/WebPage.hpp"

#include <memory>
#include <string_view>

namespace webkit {

class WebView;
struct WebViewConfiguration;

// How the installed backend makes the engine's side of a web view.
class WebEngineService : public base::Installable<WebEngineService> {
public:
    static constexpr std::string_view serviceName = "webkit::WebEngineService";

    virtual ~WebEngineService() = default;

    // The page of `owner`; it lives as long as the web view and must not call back into it while
    // it is being made.
    virtual std::unique_ptr<WebPage> makePage(WebView& owner, const WebViewConfiguration& configuration) = 0;

protected:
    WebEngineService() = default;
};

}  // namespace webkit
