#pragma once

#include "platform/backends/headless/HeadlessEffects.hpp"
#include "platform/kits/webkit/Download.hpp"
#include "platform/kits/webkit/DownloadDelegate.hpp"
#include "platform/kits/webkit/DownloadError.hpp"
#include "platform/kits/webkit/NavigationAction.hpp"
#include "platform/kits/webkit/NavigationResponse.hpp"
#include "platform/kits/webkit/OpenPanelParameters.hpp"
#include "platform/kits/webkit/WebPage.hpp"
#include "platform/kits/webkit/WebView.hpp"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace headless {

// A web page without an engine, driven by tests. The test plays the user, the page and the server
// ("the user clicks this link", "the server answers with this type", "the page posts this message");
// the page asks the web view's delegates exactly as an engine would, and records what came of it:
//
//   web load: <url> (timeout 60, cache protocol)    the web view was asked to load a request
//   web action: <type> <url> -> allow|cancel|download
//   web response: <type or none> -> allow|download
//   web committed: <url>                           a main-frame navigation was shown
//   web failed: <url>                              the provisional navigation failed
//   web stop | web reload
//   web new window: <url or none> -> no window
//   web message: <name> | web message unregistered: <name>
//   web download: <url> to <path> | web download cancelled: <url> | web download failed: <url>
//
// A navigation the delegate allows in the main frame stays provisional until the test answers it
// with respond(); one in a sub-frame is recorded and goes no further. The web view's URL is the
// provisional one while a navigation is under way, and goes back to the page shown when the
// navigation becomes a download or is stopped. A download is written as soon as its delegate has
// answered where, and the delegate then hears that it finished.
class HeadlessWebPage final : public webkit::WebPage {
public:
    HeadlessWebPage(webkit::WebView& owner, HeadlessEffects& effects);
    ~HeadlessWebPage() override;

    // webkit::WebPage
    void load(const foundation::URLRequest& request) override;
    void reload() override;
    void stopLoading() override;
    [[nodiscard]] std::optional<foundation::URL> url() const override { return url_; }
    [[nodiscard]] std::optional<std::string> title() const override { return title_; }
    [[nodiscard]] bool isLoading() const override { return loading_; }
    [[nodiscard]] double pageZoom() const override { return zoom_; }
    void setPageZoom(double zoom) override { zoom_ = zoom; }
    void setAllowsBackForwardNavigationGestures(bool allows) override { gestures_ = allows; }
    void setUnderPageBackgroundColor(double red, double green, double blue, double alpha) override {
        underPage_ = {red, green, blue, alpha};
    }
    void setDrawsBackground(bool draws) override { drawsBackground_ = draws; }
    void makeFirstResponder() override;
    [[nodiscard]] bool isInWindow() const override { return inWindow_; }

    // What the web view was set up with.
    [[nodiscard]] bool allowsBackForwardNavigationGestures() const noexcept { return gestures_; }
    [[nodiscard]] const std::optional<std::array<double, 4>>& underPageBackgroundColor() const noexcept {
        return underPage_;
    }
    [[nodiscard]] bool drawsBackground() const noexcept { return drawsBackground_; }
    [[nodiscard]] webkit::WebView& webView() const noexcept { return owner_; }
    void setInWindow(bool inWindow) noexcept { inWindow_ = inWindow; }

    // The test plays the user and the page.
    void clickLink(const std::optional<foundation::URL>& url, webkit::EventModifierFlags modifiers = {},
                   int buttonNumber = 1, bool mainFrame = true, bool shouldPerformDownload = false);
    // A navigation that no click of the person's started: a script's, a form's, a reload.
    void navigate(const std::optional<foundation::URL>& url, webkit::NavigationType type, bool mainFrame = true);
    // The server's answer to the provisional navigation; a download gets `body` as its content.
    void respond(std::optional<std::string> mimeType, bool canShowMIMEType, std::string body = {},
                 std::optional<std::string> suggestedFilename = std::nullopt);
    // The provisional navigation fails without an answer (no connection, a reset); the address goes
    // back to the page shown.
    void fail();
    // The page's own title after it loaded.
    void setTitle(std::optional<std::string> title);
    // A page's window.open(), from a click of the person's unless `userGesture` is false.
    void requestNewWindow(const std::optional<foundation::URL>& url, bool targetIsMainFrame = false,
                          bool userGesture = true);
    void postMessage(const std::string& name, const std::string& body = "null");
    // The page's confirm(), prompt() and file input: the delegate's answer, or none while it has not
    // answered.
    std::optional<bool> confirm(const std::string& message);
    std::optional<std::optional<std::string>> prompt(const std::string& message,
                                                     std::optional<std::string> defaultText);
    void chooseFiles(webkit::OpenPanelParameters parameters);
    // The answer of the latest file input: none while pending, then the files or none for Cancel.
    [[nodiscard]] const std::optional<std::optional<std::vector<foundation::URL>>>& chosenFiles() const noexcept {
        return chosenFiles_;
    }
    // Fails the download at `index` (in the order they started) that is still running.
    void failDownload(std::size_t index, const webkit::DownloadError& error);
    [[nodiscard]] std::size_t downloadCount() const noexcept { return downloads_.size(); }

private:
    struct PendingNavigation {
        webkit::NavigationAction action;
        foundation::URL url;
    };
    struct DownloadRecord {
        std::unique_ptr<webkit::Download> download;
        std::string body;
        bool running = true;
    };

    void startNavigation(const webkit::NavigationAction& action);
    void startDownload(std::optional<foundation::URL> url, std::string body, const std::string& suggestedFilename,
                       const std::function<void(webkit::Download&)>& handOff);

    webkit::WebView& owner_;
    HeadlessEffects& effects_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    void showURL(const std::optional<foundation::URL>& url);

    // The address of the page shown, and the one the web view reports (the provisional one while a
    // navigation is under way).
    std::optional<foundation::URL> committed_;
    std::optional<foundation::URL> url_;
    std::optional<std::string> title_;
    bool loading_ = false;
    double zoom_ = 1.0;
    bool gestures_ = true;
    bool drawsBackground_ = true;
    bool inWindow_ = false;
    std::optional<std::array<double, 4>> underPage_;
    std::optional<PendingNavigation> provisional_;
    std::vector<DownloadRecord> downloads_;
    std::optional<std::optional<std::vector<foundation::URL>>> chosenFiles_;
};

}  // namespace headless
