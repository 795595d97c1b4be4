#include "kestrova/web/WebWrapperViewCoordinator.hpp"

#include "platform/kits/appkit/Alert.hpp"
#include "platform/kits/appkit/OpenPanel.hpp"
#include "platform/kits/appkit/Workspace.hpp"
#include "platform/runtime/base/WeakSelf.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/foundation/core/ProcessInfo.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "kestrova/links/OpenInApp.hpp"
#include "kestrova/networking/ServiceHosts.hpp"
#include "kestrova/web/DownloadSaver.hpp"
#include "kestrova/web/NavigationPolicy.hpp"
#include "kestrova/web/ScriptMessageBridge.hpp"

#include <cstdio>
#include <utility>

namespace kestrova {
namespace {

// The tasks read the web view when they run, not what the change carried. While a page waits for
// the first one, the window's URL is that page's already, and the first page's address must not
// take its place.
concurrency::Task<void> copyURL(std::weak_ptr<WebWrapperViewCoordinator> weak) {
    if (const auto self = weak.lock(); self && !self->hasPageAfterFirstPage()) {
        if (const auto url = self->webView->url()) {
            self->url.set(*url);
        }
    }
    co_return;
}

concurrency::Task<void> copyTitle(std::weak_ptr<WebWrapperViewCoordinator> weak) {
    if (const auto self = weak.lock()) {
        if (const auto title = self->webView->title()) {
            self->title.set(*title);
        }
    }
    co_return;
}

}  // namespace

std::shared_ptr<WebWrapperViewCoordinator> WebWrapperViewCoordinator::make(
    ui::Binding<foundation::URL> url, ui::Binding<std::string> title, bool isBeta, ui::Binding<bool> isLoading,
    combine::PassthroughSubject<void> reloadSubject) {
    return std::make_shared<WebWrapperViewCoordinator>(Token{}, std::move(url), std::move(title), isBeta,
                                                       std::move(isLoading), std::move(reloadSubject));
}

WebWrapperViewCoordinator::WebWrapperViewCoordinator(Token, ui::Binding<foundation::URL> url_,
                                                     ui::Binding<std::string> title_, bool isBeta_,
                                                     ui::Binding<bool> isLoading_,
                                                     combine::PassthroughSubject<void> reloadSubject_)
    : url(std::move(url_)),
      title(std::move(title_)),
      isBeta(isBeta_),
      isLoading(std::move(isLoading_)),
      reloadSubject(std::move(reloadSubject_)),
      downloadDelegate(std::make_shared<DownloadSaver>()),
      webView(makeWebView()) {}

std::unique_ptr<webkit::WebView> WebWrapperViewCoordinator::makeWebView() {
    auto bridge = std::make_shared<ScriptMessageBridge>();
    webkit::WebViewConfiguration configuration;
    for (auto& name : ScriptMessageBridge::registeredNames()) {
        configuration.userContentController->addScriptMessageHandler(bridge, std::move(name));
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

foundation::URLRequest WebWrapperViewCoordinator::pageRequest(const foundation::URL& url) {
    return foundation::URLRequest(url, foundation::URLRequest::CachePolicy::useProtocolCachePolicy, 60.0);
}

WebWrapperViewCoordinator::~WebWrapperViewCoordinator() {
    // The web view outlives nothing of ours: stop its calls into this coordinator first.
    urlChangedObservation.reset();
    titleChangedObservation.reset();
    webView->setNavigationDelegate(nullptr);
    webView->setUIDelegate(nullptr);
}

void WebWrapperViewCoordinator::setUpObservers() {
    const std::weak_ptr<WebWrapperViewCoordinator> weak = weak_from_this();
    urlChangedObservation = webView->observeURL(
        [weak] { static_cast<void>(concurrency::spawn(concurrency::MainActor::shared(), copyURL(weak))); });
    titleChangedObservation = webView->observeTitle(
        [weak] { static_cast<void>(concurrency::spawn(concurrency::MainActor::shared(), copyTitle(weak))); });
    reloadSubject
        .sink(base::ifAlive(weak, [](WebWrapperViewCoordinator& self) { self.reloadPage(); }))
        .store(cancellables);
}

void WebWrapperViewCoordinator::reloadPage() {
    if (webView->url()) {
        webView->reload();
    } else {
        loadPage(url.get(), isBeta);
    }
}

void WebWrapperViewCoordinator::loadPage(const foundation::URL& page, bool useBeta) {
    requested_ = page;
    webView->load(pageRequest(webHostURL(page, useBeta)));
}

std::optional<foundation::URL> WebWrapperViewCoordinator::pageShown() const {
    if (auto shown = webView->url()) {
        return shown;
    }
    return requested_;
}

bool WebWrapperViewCoordinator::isLoadingFirstPage() const { return !firstNavigationEnded_ && webView->isLoading(); }

void WebWrapperViewCoordinator::loadAfterFirstPage(foundation::URL page) { afterFirstPage_ = std::move(page); }

bool WebWrapperViewCoordinator::endFirstNavigation() {
    firstNavigationEnded_ = true;
    if (!afterFirstPage_) {
        return false;
    }
    const auto page = std::move(*afterFirstPage_);
    afterFirstPage_.reset();
    loadPage(page, isBeta);
    return true;
}

void WebWrapperViewCoordinator::didStartProvisionalNavigation(webkit::WebView& /*webView*/) { isLoading.set(true); }

void WebWrapperViewCoordinator::didFinishNavigation(webkit::WebView& view) {
    // The page that waited for this one is the window's: its own load ends the loading screen.
    if (endFirstNavigation()) {
        return;
    }
    isLoading.set(false);
    if (view.isInWindow()) {
        view.becomeFirstResponderOfWindow();
    }
}

void WebWrapperViewCoordinator::didFailNavigation(webkit::WebView& /*webView*/) {
    static_cast<void>(endFirstNavigation());
}

void WebWrapperViewCoordinator::openOnDesktop(const foundation::URL& link, bool userStarted) {
    if (!NavigationPolicy::mayOpenOnDesktop(link, userStarted)) {
        // Said once a window: a page that keeps asking must not fill the terminal.
        if (!std::exchange(refusalSaid_, true)) {
            std::fprintf(stderr, "kestrova: a page asked to open %s outside the application; only web and mail links "
                                 "that the person clicks are opened\n",
                         link.scheme().empty() ? "a link" : (link.scheme() + ": link").c_str());
        }
        return;
    }
    // A URL that nothing on the desktop opens is the desktop's to report.
    static_cast<void>(appkit::Workspace::shared().open(link));
}

template <typename Handler, typename Policy>
void WebWrapperViewCoordinator::carryOut(webkit::WebView& view, NavigationPolicy::Effect effect,
                                         const std::optional<foundation::URL>& target, bool userStarted, Policy policy,
                                         const Handler& decisionHandler) {
    switch (effect) {
    case NavigationPolicy::Effect::none:
        break;
    case NavigationPolicy::Effect::openInWorkspace:
        openOnDesktop(*target, userStarted);
        break;
    case NavigationPolicy::Effect::openInApp:
        openInApp(*target);
        break;
    case NavigationPolicy::Effect::loadInPlace:
        // Answer first, so that the engine has dropped the navigation before the new load starts.
        decisionHandler(policy);
        view.load(pageRequest(*target));
        return;
    }
    decisionHandler(policy);
}

void WebWrapperViewCoordinator::decidePolicyForNavigationAction(webkit::WebView& view,
                                                                const webkit::NavigationAction& action,
                                                                ActionDecisionHandler decisionHandler) {
    const auto decision = NavigationPolicy::decideAction(action, isBeta);
    if (decision.decidedAtResponse) {
        responseStartedByPerson_ = action.isUserGesture;
    }
    carryOut(view, decision.effect, decision.url, action.isUserGesture, decision.policy, decisionHandler);
}

void WebWrapperViewCoordinator::decidePolicyForNavigationResponse(webkit::WebView& view,
                                                                  const webkit::NavigationResponse& response,
                                                                  ResponseDecisionHandler decisionHandler) {
    const auto decision = NavigationPolicy::decideResponse(response, isBeta);
    carryOut(view, decision.effect, decision.url, responseStartedByPerson_, decision.policy, decisionHandler);
}

void WebWrapperViewCoordinator::navigationActionDidBecomeDownload(webkit::WebView& /*webView*/,
                                                                  const webkit::NavigationAction& /*action*/,
                                                                  webkit::Download& download) {
    download.setDelegate(downloadDelegate.get());
}

void WebWrapperViewCoordinator::navigationResponseDidBecomeDownload(webkit::WebView& /*webView*/,
                                                                    const webkit::NavigationResponse& /*response*/,
                                                                    webkit::Download& download) {
    download.setDelegate(downloadDelegate.get());
}

void WebWrapperViewCoordinator::createWebView(webkit::WebView& /*webView*/, const webkit::NavigationAction& action) {
    const auto decision = NavigationPolicy::decideNewWindow(action);
    if (decision.effect == NavigationPolicy::Effect::openInApp) {
        openInApp(*decision.url);
    } else if (decision.effect == NavigationPolicy::Effect::openInWorkspace) {
        openOnDesktop(*decision.url, action.isUserGesture);
    }
}

void WebWrapperViewCoordinator::runJavaScriptConfirmPanel(webkit::WebView& /*webView*/, const std::string& message,
                                                          const webkit::FrameInfo& /*frame*/,
                                                          ConfirmHandler completion) {
    appkit::Alert alert;
    alert.messageText = message;
    alert.alertStyle = appkit::AlertStyle::warning;
    alert.addButton("OK");
    alert.addButton("Cancel");
    completion(alert.runModal() == appkit::ModalResponse::alertFirstButtonReturn);
}

void WebWrapperViewCoordinator::runJavaScriptTextInputPanel(webkit::WebView& /*webView*/, const std::string& prompt,
                                                            const std::optional<std::string>& /*defaultText*/,
                                                            const webkit::FrameInfo& /*frame*/,
                                                            TextInputHandler completion) {
    appkit::Alert alert;
    alert.informativeText = prompt;
    alert.addButton("Submit");
    alert.addButton("Cancel");
    // The page's default text is not offered: the field starts empty.
    alert.setAccessoryView({300, 24, ""});
    if (alert.runModal() == appkit::ModalResponse::alertFirstButtonReturn) {
        completion(alert.accessoryView()->stringValue);
    } else {
        completion(std::nullopt);
    }
}

void WebWrapperViewCoordinator::runOpenPanel(webkit::WebView& /*webView*/,
                                             const webkit::OpenPanelParameters& parameters,
                                             const webkit::FrameInfo& /*frame*/, OpenPanelHandler completion) {
    auto panel = appkit::OpenPanel::make();
    panel->canChooseFiles = true;
    panel->canChooseDirectories = parameters.allowsDirectories;
    panel->allowsMultipleSelection = parameters.allowsMultipleSelection;
    panel->begin([panel, completion = std::move(completion)](appkit::ModalResponse response) {
        if (response == appkit::ModalResponse::ok) {
            completion(panel->urls());
        } else {
            completion(std::nullopt);
        }
    });
}

}  // namespace kestrova
