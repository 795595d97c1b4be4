#pragma once

#include "platform/kits/webkit/WebEngineService.hpp"

#include <string>

namespace desktop {

// Web views on WebKitGTK 4.1, all in the application's web context, so that they share one website
// data store with its cookies, kept across launches.
class DesktopWebEngine final : public webkit::WebEngineService {
public:
    std::unique_ptr<webkit::WebPage> makePage(webkit::WebView& owner,
                                              const webkit::WebViewConfiguration& configuration) override;

    // Sends every request of the web views through this HTTP proxy ("http://127.0.0.1:8080"), so
    // that a test's server on the loopback can answer for the service's own host names.
    static void useHTTPProxy(const std::string& proxyURI);
};

}  // namespace desktop
