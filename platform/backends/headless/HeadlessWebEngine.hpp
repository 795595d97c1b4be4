#pragma once

#include "platform/backends/headless/HeadlessEffects.hpp"
#include "platform/backends/headless/HeadlessWebPage.hpp"
#include "platform/kits/webkit/WebEngineService.hpp"

#include <vector>

namespace headless {

// Makes headless pages and keeps a list of the live ones, so that a test can drive the page of a web
// view that the code under test made. Main thread only.
class HeadlessWebEngine final : public webkit::WebEngineService {
public:
    explicit HeadlessWebEngine(HeadlessEffects& effects) : effects_(effects) {}

    std::unique_ptr<webkit::WebPage> makePage(webkit::WebView& owner,
                                              const webkit::WebViewConfiguration& configuration) override;

    // The live pages, oldest first.
    [[nodiscard]] std::vector<HeadlessWebPage*> pages() const;
    // The page of this web view.
    [[nodiscard]] static HeadlessWebPage& pageOf(const webkit::WebView& webView);

private:
    HeadlessEffects& effects_;
};

}  // namespace headless
