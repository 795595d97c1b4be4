#include "platform/backends/headless/HeadlessWebEngine.hpp"

#include "platform/runtime/base/Verify.hpp"

#include <algorithm>

namespace headless {
namespace {

std::vector<HeadlessWebPage*>& livePages() {
    static std::vector<HeadlessWebPage*> pages;
    return pages;
}

// Takes its page off the list when the web view lets it go.
class RegisteredPage final : public webkit::WebPage {
public:
    explicit RegisteredPage(std::unique_ptr<HeadlessWebPage> page) : page_(std::move(page)) {
        livePages().push_back(page_.get());
    }
    ~RegisteredPage() override { std::erase(livePages(), page_.get()); }

    void load(const foundation::URLRequest& request) override { page_->load(request); }
    void reload() override { page_->reload(); }
    void stopLoading() override { page_->stopLoading(); }
    [[nodiscard]] std::optional<foundation::URL> url() const override { return page_->url(); }
    [[nodiscard]] std::optional<std::string> title() const override { return page_->title(); }
    [[nodiscard]] bool isLoading() const override { return page_->isLoading(); }
    [[nodiscard]] double pageZoom() const override { return page_->pageZoom(); }
    void setPageZoom(double zoom) override { page_->setPageZoom(zoom); }
    void setAllowsBackForwardNavigationGestures(bool allows) override {
        page_->setAllowsBackForwardNavigationGestures(allows);
    }
    void setUnderPageBackgroundColor(double red, double green, double blue, double alpha) override {
        page_->setUnderPageBackgroundColor(red, green, blue, alpha);
    }
    void setDrawsBackground(bool draws) override { page_->setDrawsBackground(draws); }
    void makeFirstResponder() override { page_->makeFirstResponder(); }
    [[nodiscard]] bool isInWindow() const override { return page_->isInWindow(); }

    [[nodiscard]] HeadlessWebPage& page() const noexcept { return *page_; }

private:
    std::unique_ptr<HeadlessWebPage> page_;
};

}  // namespace

std::unique_ptr<webkit::WebPage> HeadlessWebEngine::makePage(webkit::WebView& owner,
                                                             const webkit::WebViewConfiguration& /*configuration*/) {
    return std::make_unique<RegisteredPage>(std::make_unique<HeadlessWebPage>(owner, effects_));
}

std::vector<HeadlessWebPage*> HeadlessWebEngine::pages() const { return livePages(); }

HeadlessWebPage& HeadlessWebEngine::pageOf(const webkit::WebView& webView) {
    auto* registered = dynamic_cast<RegisteredPage*>(&webView.page());
    VERIFY(registered != nullptr, "the web view's page is not a headless one");
    return registered->page();
}

}  // namespace headless
