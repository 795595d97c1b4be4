#include "kestrova/web/WebWrapperView.hpp"

#include "platform/foundation/ProcessInfo.hpp"
#include "platform/foundation/URLRequest.hpp"
#include "platform/webkit/WebView.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/web/CoordinatorScriptMessageHandler.hpp"
#include "kestrova/web/JSMethod.hpp"
#include "kestrova/web/WebWrapperViewCoordinator.hpp"

namespace kestrova {

foundation::URLRequest WebWrapperView::pageRequest(const foundation::URL& url) {
    return foundation::URLRequest(url, foundation::URLRequest::CachePolicy::useProtocolCachePolicy, 60.0);
}

WebWrapperView::WebWrapperView(ui::Binding<foundation::URL> url_, ui::Binding<std::string> title_,
                               ui::Binding<bool> isLoading_, combine::PassthroughSubject<void> reloadSubject_,
                               bool isBeta_, double pageZoom_)
    : url(std::move(url_)),
      title(std::move(title_)),
      isLoading(std::move(isLoading_)),
      reloadSubject(std::move(reloadSubject_)),
      isBeta(isBeta_),
      pageZoom(pageZoom_) {}

std::shared_ptr<WebWrapperView::Coordinator> WebWrapperView::makeCoordinator() const {
    return Coordinator::make(url, title, isBeta, isLoading, reloadSubject);
}

webkit::WebView& WebWrapperView::makeView(Coordinator& coordinator) const {
    auto& webView = *coordinator.webView;
    coordinator.setUpObservers();
    webView.setPageZoom(pageZoom);
    webView.setNavigationDelegate(&coordinator);
    webView.setUIDelegate(&coordinator);
    coordinator.loadPage(url.get(), isBeta);
    return webView;
}

void WebWrapperView::updateView(Coordinator& coordinator) const {
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

std::unique_ptr<webkit::WebView> WebWrapperView::makeWebView() {
    auto handler = std::make_shared<Coordinator::ScriptMessageHandler>();
    webkit::WebViewConfiguration configuration;
    for (const auto method : JSMethod::allCases()) {
        configuration.userContentController->addScriptMessageHandler(handler, std::string(method.rawValue()));
    }
    if (foundation::ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 3, 0})) {
        configuration.preferences.elementFullscreenEnabled = true;
    }
    configuration.allowsAirPlayForMediaPlayback = true;
    configuration.limitsNavigationsToAppBoundDomains = true;
    auto webView = std::make_unique<webkit::WebView>(std::move(configuration));
    webView->setAllowsBackForwardNavigationGestures(false);
    if (foundation::ProcessInfo::processInfo().isOperatingSystemAtLeast({12, 0, 0})) {
        webView->setUnderPageBackgroundColor(0.0, 0.0, 0.0, 1.0);
    }
    webView->setDrawsBackground(false);
    return webView;
}

}  // namespace kestrova
