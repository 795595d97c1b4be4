#include "kestrova/web/WebWrapperView.hpp"

#include "platform/kits/webkit/WebView.hpp"
#include "kestrova/web/WebWrapperViewCoordinator.hpp"

namespace kestrova {

WebWrapperView::WebWrapperView(ui::Binding<foundation::URL> url_, ui::Binding<std::string> title_,
                               ui::Binding<bool> isLoading_, combine::PassthroughSubject<void> reloadSubject_,
                               bool isBeta_, double pageZoom_)
    : url(std::move(url_)),
      title(std::move(title_)),
      isLoading(std::move(isLoading_)),
      reloadSubject(std::move(reloadSubject_)),
      isBeta(isBeta_),
      pageZoom(pageZoom_) {}

std::shared_ptr<WebWrapperViewCoordinator> WebWrapperView::makeCoordinator() const {
    return WebWrapperViewCoordinator::make(url, title, isBeta, isLoading, reloadSubject);
}

webkit::WebView& WebWrapperView::makeView(WebWrapperViewCoordinator& coordinator) const {
    auto& webView = *coordinator.webView;
    coordinator.setUpObservers();
    webView.setPageZoom(pageZoom);
    webView.setNavigationDelegate(&coordinator);
    webView.setUIDelegate(&coordinator);
    coordinator.loadPage(url.get(), isBeta);
    return webView;
}

void WebWrapperView::updateView(WebWrapperViewCoordinator& coordinator) const {
    auto& webView = *coordinator.webView;
    if (webView.pageZoom() != pageZoom) {
        webView.setPageZoom(pageZoom);
    }
    auto bound = url.get();
    if (coordinator.pageShown() != bound) {
        if (coordinator.isLoadingFirstPage()) {
            coordinator.loadAfterFirstPage(std::move(bound));
        } else {
            if (webView.isLoading()) {
                webView.stopLoading();
            }
            coordinator.loadPage(bound, isBeta);
        }
    }
    coordinator.isBeta = isBeta;
}

}  // namespace kestrova
