#pragma once

#include "platform/combine/AnyCancellable.hpp"
#include "platform/webkit/KeyValueObservation.hpp"
#include "platform/webkit/NavigationDelegate.hpp"
#include "platform/webkit/UIDelegate.hpp"
#include "platform/webkit/WebView.hpp"
#include "kestrova/web/NavigationPolicy.hpp"
#include "kestrova/web/WebWrapperView.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace kestrova {

// Owns a window's web view and acts as its navigation and UI delegate: keeps the window's URL, title
// and loading state in step with the page, applies the navigation policy, hands downloads to its one
// download delegate and shows the page's confirm, prompt and file-input panels. Main thread only.
class WebWrapperView::Coordinator final : public webkit::NavigationDelegate,
                                          public webkit::UIDelegate,
                                          public std::enable_shared_from_this<Coordinator> {
    struct Token {};

public:
    class DownloadDelegate;
    class ScriptMessageHandler;

    static std::shared_ptr<Coordinator> make(ui::Binding<foundation::URL> url, ui::Binding<std::string> title,
                                             bool isBeta, ui::Binding<bool> isLoading,
                                             combine::PassthroughSubject<void> reloadSubject);
    Coordinator(Token, ui::Binding<foundation::URL> url, ui::Binding<std::string> title, bool isBeta,
                ui::Binding<bool> isLoading, combine::PassthroughSubject<void> reloadSubject);
    ~Coordinator() override;
    Coordinator(const Coordinator&) = delete;
    Coordinator& operator=(const Coordinator&) = delete;

    // Fields in their order.
    ui::Binding<foundation::URL> url;
    ui::Binding<std::string> title;
    bool isBeta;
    ui::Binding<bool> isLoading;
    combine::PassthroughSubject<void> reloadSubject;
    std::shared_ptr<DownloadDelegate> downloadDelegate;
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
    void runJavaScriptConfirmPanel(webkit::WebView& webView, const std::string& message,
                                   const webkit::FrameInfo& frame, ConfirmHandler completion) override;
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
