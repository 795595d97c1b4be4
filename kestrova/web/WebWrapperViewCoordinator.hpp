#pragma once

#include "platform/runtime/combine/AnyCancellable.hpp"
#include "platform/runtime/combine/PassthroughSubject.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "platform/kits/ui/Binding.hpp"
#include "platform/kits/webkit/KeyValueObservation.hpp"
#include "platform/kits/webkit/NavigationDelegate.hpp"
#include "platform/kits/webkit/UIDelegate.hpp"
#include "platform/kits/webkit/WebView.hpp"
#include "kestrova/web/NavigationPolicy.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

class DownloadSaver;

// Owns a window's web view and acts as its navigation and UI delegate: keeps the window's URL, title
// and loading state in step with the page, applies the navigation policy, hands downloads to its one
// download saver and shows the page's confirm, prompt and file-input panels. Main thread only.
class WebWrapperViewCoordinator final : public webkit::NavigationDelegate,
                                        public webkit::UIDelegate,
                                        public std::enable_shared_from_this<WebWrapperViewCoordinator> {
    struct Token {};

public:
    static std::shared_ptr<WebWrapperViewCoordinator> make(ui::Binding<foundation::URL> url,
                                                           ui::Binding<std::string> title, bool isBeta,
                                                           ui::Binding<bool> isLoading,
                                                           combine::PassthroughSubject<void> reloadSubject);
    WebWrapperViewCoordinator(Token, ui::Binding<foundation::URL> url, ui::Binding<std::string> title, bool isBeta,
                              ui::Binding<bool> isLoading, combine::PassthroughSubject<void> reloadSubject);
    ~WebWrapperViewCoordinator() override;
    WebWrapperViewCoordinator(const WebWrapperViewCoordinator&) = delete;
    WebWrapperViewCoordinator& operator=(const WebWrapperViewCoordinator&) = delete;

    // The configured web view: one script-message bridge under every JSMethod name in order, element
    // full screen on (from release 12.3), gestures off, black under the page (from release 12.0), no
    // background of its own.
    static std::unique_ptr<webkit::WebView> makeWebView();
    // The request of a page of the window: the protocol's cache policy and a time-out of 60 seconds.
    [[nodiscard]] static foundation::URLRequest pageRequest(const foundation::URL& url);

    // Fields in their order.
    ui::Binding<foundation::URL> url;
    ui::Binding<std::string> title;
    bool isBeta;
    ui::Binding<bool> isLoading;
    combine::PassthroughSubject<void> reloadSubject;
    std::shared_ptr<DownloadSaver> downloadDelegate;
    std::optional<webkit::KeyValueObservation> urlChangedObservation;
    std::optional<webkit::KeyValueObservation> titleChangedObservation;
    std::vector<combine::AnyCancellable> cancellables;
    std::unique_ptr<webkit::WebView> webView;

    // Once, before the first load: the page's URL and title go into the bindings through main-actor
    // tasks, and every value of reloadSubject reloads the page.
    void setUpObservers();

    // Loads the window's page on the chosen front end.
    void loadPage(const foundation::URL& page, bool useBeta);
    // The page the web view shows or is committing; before it has shown any, the page it was last
    // asked to load, so that a first page that failed or became a download is not asked for again
    // and again.
    [[nodiscard]] std::optional<foundation::URL> pageShown() const;
    // Whether the web view's first navigation is still under way.
    [[nodiscard]] bool isLoadingFirstPage() const;
    // Loads the page once the first navigation has finished or failed, in place of any page that
    // was waiting for it.
    void loadAfterFirstPage(foundation::URL page);
    [[nodiscard]] bool hasPageAfterFirstPage() const noexcept { return afterFirstPage_.has_value(); }

    // webkit::NavigationDelegate
    void didStartProvisionalNavigation(webkit::WebView& webView) override;
    // A failed navigation leaves `isLoading` true: the window keeps its loading screen until a later
    // navigation finishes.
    void didFinishNavigation(webkit::WebView& webView) override;
    void didFailNavigation(webkit::WebView& webView) override;
    void decidePolicyForNavigationAction(webkit::WebView& webView, const webkit::NavigationAction& action,
                                         ActionDecisionHandler decisionHandler) override;
    void decidePolicyForNavigationResponse(webkit::WebView& webView, const webkit::NavigationResponse& response,
                                           ResponseDecisionHandler decisionHandler) override;
    void navigationActionDidBecomeDownload(webkit::WebView& webView, const webkit::NavigationAction& action,
                                           webkit::Download& download) override;
    void navigationResponseDidBecomeDownload(webkit::WebView& webView, const webkit::NavigationResponse& response,
                                             webkit::Download& download) override;

    // webkit::UIDelegate
    void createWebView(webkit::WebView& webView, const webkit::NavigationAction& action) override;
    void runJavaScriptConfirmPanel(webkit::WebView& webView, const std::string& message, const webkit::FrameInfo& frame,
                                   ConfirmHandler completion) override;
    void runJavaScriptTextInputPanel(webkit::WebView& webView, const std::string& prompt,
                                     const std::optional<std::string>& defaultText, const webkit::FrameInfo& frame,
                                     TextInputHandler completion) override;
    void runOpenPanel(webkit::WebView& webView, const webkit::OpenPanelParameters& parameters,
                      const webkit::FrameInfo& frame, OpenPanelHandler completion) override;

private:
    // Hands the URL to the desktop, when a page may do that (NavigationPolicy::mayOpenOnDesktop).
    void openOnDesktop(const foundation::URL& link, bool userStarted);
    // Does what a policy decided besides answering the engine, and answers it.
    template <typename Handler, typename Policy>
    void carryOut(webkit::WebView& view, NavigationPolicy::Effect effect, const std::optional<foundation::URL>& target,
                  bool userStarted, Policy policy, const Handler& decisionHandler);

    // The first navigation has ended: a request that waited for it goes now. Whether one went.
    bool endFirstNavigation();
    // A page that failed before any page was shown leaves the engine nothing to reload.
    void reloadPage();

    std::optional<foundation::URL> requested_;
    // Whether the person started the navigation whose response decides where it goes.
    bool responseStartedByPerson_ = false;
    // Whether a page's refused hand-over to the desktop has been said.
    bool refusalSaid_ = false;
    bool firstNavigationEnded_ = false;
    std::optional<foundation::URL> afterFirstPage_;
};

}  // namespace kestrova
