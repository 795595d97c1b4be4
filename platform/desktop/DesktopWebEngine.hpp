#pragma once

#include "platform/webkit/WebEngineService.hpp"

namespace desktop {

// Web views on WebKitGTK 4.1, all in the default web context, so that they share one website data
// store with its cookies.
class DesktopWebEngine final : public webkit::WebEngineService {
public:
    std::unique_ptr<webkit::WebPage> makePage(webkit::WebView& owner,
                                              const webkit::WebViewConfiguration& configuration) override;
};

}  // namespace desktop
