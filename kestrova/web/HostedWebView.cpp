#include "kestrova/web/HostedWebView.hpp"

#include "platform/kits/webkit/WebView.hpp"
#include "kestrova/web/WebWrapperViewCoordinator.hpp"

namespace kestrova {

HostedWebView::HostedWebView(const WebWrapperView& view) : coordinator(view.makeCoordinator()) {
    view.makeView(*coordinator);
}

void HostedWebView::update(const WebWrapperView& view) const { view.updateView(*coordinator); }

void* HostedWebView::nativeWidget() const { return coordinator->webView->page().nativeView(); }

}  // namespace kestrova
