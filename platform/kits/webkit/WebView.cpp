#include "platform/kits/webkit/WebView.hpp"

#include "platform/kits/webkit/WebEngineService.hpp"

#include <vector>

namespace webkit {

WebView::WebView(WebViewConfiguration configuration) : configuration_(std::move(configuration)) {
    page_ = WebEngineService::installed().makePage(*this, configuration_);
}

WebView::~WebView() {
    // The page goes first: it may still report while it stops.
    navigationDelegate_ = nullptr;
    uiDelegate_ = nullptr;
    page_.reset();
}

void WebView::load(const foundation::URLRequest& request) { page_->load(request); }
void WebView::reload() { page_->reload(); }
void WebView::stopLoading() { page_->stopLoading(); }
std::optional<foundation::URL> WebView::url() const { return page_->url(); }
std::optional<std::string> WebView::title() const { return page_->title(); }
bool WebView::isLoading() const { return page_->isLoading(); }
double WebView::pageZoom() const { return page_->pageZoom(); }
void WebView::setPageZoom(double zoom) { page_->setPageZoom(zoom); }

void WebView::setAllowsBackForwardNavigationGestures(bool allows) {
    page_->setAllowsBackForwardNavigationGestures(allows);
}

void WebView::setUnderPageBackgroundColor(double red, double green, double blue, double alpha) {
    page_->setUnderPageBackgroundColor(red, green, blue, alpha);
}

void WebView::setDrawsBackground(bool draws) { page_->setDrawsBackground(draws); }

KeyValueObservation WebView::observeURL(std::function<void()> changed) {
    return observe(Property::url, std::move(changed));
}

KeyValueObservation WebView::observeTitle(std::function<void()> changed) {
    return observe(Property::title, std::move(changed));
}

void WebView::becomeFirstResponderOfWindow() { page_->makeFirstResponder(); }
bool WebView::isInWindow() const { return page_->isInWindow(); }

void WebView::engineDidChangeURL() { notify(Property::url); }
void WebView::engineDidChangeTitle() { notify(Property::title); }

KeyValueObservation WebView::observe(Property property, std::function<void()> changed) {
    const auto id = observers_->next++;
    observers_->byId.emplace(id, std::make_pair(property, std::move(changed)));
    return KeyValueObservation([weak = std::weak_ptr<Observers>(observers_), id] {
        if (const auto observers = weak.lock()) {
            observers->byId.erase(id);
        }
    });
}

void WebView::notify(Property property) {
    // An observer may remove itself or others while it runs: call a copy.
    std::vector<std::function<void()>> calls;
    for (const auto& [id, entry] : observers_->byId) {
        if (entry.first == property) {
            calls.push_back(entry.second);
        }
    }
    for (const auto& call : calls) {
        call();
    }
}

}  // namespace webkit
