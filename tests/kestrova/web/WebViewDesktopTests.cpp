// The web view on the real engine, in a window on a virtual display: the page talks to the bridge,
// links go to the desktop's handlers, a PDF becomes a file where the save panel says and a
// notification from which the file manager shows it, cookies are
// read and cleared, the zoom applies, and a main window's content covers the page with the loading
// screen until it has loaded. The service's hosts are answered by a loopback server that the engine
// reaches through a proxy, which holds TLS for the service's https pages with a certificate the
// engine is told to trust; the desktop's URL handlers are a script that notes what it was asked to
// open.
#include "kestrova/web/WebWrapperView.hpp"

#include "platform/kits/ui/Node.hpp"
#include "platform/kits/scenes/WindowRealizer.hpp"
#include "platform/backends/desktop/ApplicationWebContext.hpp"
#include "platform/backends/desktop/DesktopBackend.hpp"
#include "platform/backends/desktop/DesktopWebEngine.hpp"
#include "platform/runtime/foundation/core/FileManager.hpp"
#include "platform/kits/usernotifications/UserNotificationCenter.hpp"
#include "platform/kits/webkit/WebView.hpp"
#include "platform/kits/webkit/WebsiteDataStore.hpp"
#include "kestrova/shell/AppDelegate.hpp"
#include "kestrova/state/AppState.hpp"
#include "kestrova/web/DownloadSaver.hpp"
#include "kestrova/web/JSMethod.hpp"
#include "kestrova/web/WebWrapper.hpp"
#include "kestrova/web/WebWrapperViewCoordinator.hpp"
#include "tests/kestrova/web/WindowState.hpp"
#include "tests/platform/backends/desktop/FakeNotificationServer.hpp"
#include "tests/support/GtkPixels.hpp"
#include "tests/support/GtkWidgetSearch.hpp"
#include "tests/support/InterceptingProxy.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/RawReplyServer.hpp"
#include "tests/support/WebsiteCookies.hpp"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using testsupport::MainLoop;
using testsupport::pixelAt;
using testsupport::HeaderList;
using testsupport::Reply;

fs::path& home() {
    static fs::path path;
    return path;
}
fs::path openedFile() { return home() / "opened.txt"; }
fs::path downloads() { return home() / "Downloads"; }

// The service's three hosts, and a site of another's that the pages embed.
const std::vector<std::string>& secureHosts() {
    static const std::vector<std::string> hosts = {"kestrova.example", "beta.kestrova.example", "api.kestrova.example",
                                                   "video.example"};
    return hosts;
}

testsupport::LoopbackServer& server() {
    static auto* loopback = new testsupport::LoopbackServer;
    return *loopback;
}

testsupport::InterceptingProxy& proxy() {
    static auto* intercepting = new testsupport::InterceptingProxy(server().port(), secureHosts());
    return *intercepting;
}

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

// The lines the desktop's URL handler was started with.
std::vector<std::string> opened() {
    std::vector<std::string> lines;
    std::istringstream content(readFile(openedFile()));
    for (std::string line; std::getline(content, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool wasOpened(const std::string& url) {
    const auto lines = opened();
    return std::find(lines.begin(), lines.end(), url) != lines.end();
}

Reply html(std::string body, HeaderList extra = {}) {
    extra.emplace_back("Content-Type", "text/html; charset=utf-8");
    return Reply{.status = 200, .headers = extra, .body = std::move(body)};
}

// Through the proxy a request names its whole URL.
std::string page(const std::string& path) { return "https://kestrova.example" + path; }

using webtest::WindowState;

// One application window whose web view shows `path` of the service.
class WebViewDesktopTest : public testing::Test {
protected:
    void open(const std::string& path) {
        state.url = *foundation::URL::fromString(page(path));
        coordinator = state.view().makeCoordinator();
        window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
        gtk_window_set_title(GTK_WINDOW(window), "Kestrova");
        auto& webView = state.view().makeView(*coordinator);
        gtk_container_add(GTK_CONTAINER(window), static_cast<GtkWidget*>(webView.page().nativeView()));
        gtk_widget_show_all(window);
    }

    void TearDown() override {
        coordinator.reset();
        if (window != nullptr) {
            gtk_widget_destroy(window);
        }
        MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(50));
    }

    [[nodiscard]] bool shows(const std::string& path) const {
        return !state.isLoading && state.url.absoluteString() == page(path);
    }

    WindowState state{*foundation::URL::fromString(page("/"))};
    std::shared_ptr<WebWrapperViewCoordinator> coordinator;
    GtkWidget* window = nullptr;
};

// With KESTROVA_PICTURES_DIR set to a folder, the screen is saved there as <name>.png, so that a
// person can look at what the test saw.
void screenshot(const std::string& name) { testsupport::saveScreen(name); }

// Notes the messages the engine delivers.
class RecordingHandler final : public webkit::ScriptMessageHandler {
public:
    void didReceiveScriptMessage(const webkit::ScriptMessage& message) override { messages.push_back(message); }
    std::vector<webkit::ScriptMessage> messages;
};

TEST_F(WebViewDesktopTest, ThePageReachesTheBridgeUnderEveryNameWithTheCallItAlreadyMakes) {
    std::string script = "<script>";
    std::vector<std::string> names;
    for (const auto method : JSMethod::allCases()) {
        names.emplace_back(method.rawValue());
        script += "window.webkit.messageHandlers." + names.back() + ".postMessage({n: " +
                  std::to_string(names.size()) + "});";
    }
    script += "</script>";
    server().reply("GET", page("/bridge"), html("<p>bridge</p>" + script));

    // The engine delivers every name, in order, with its body.
    auto recorder = std::make_shared<RecordingHandler>();
    webkit::WebViewConfiguration configuration;
    for (const auto& name : names) {
        configuration.userContentController->addScriptMessageHandler(recorder, name);
    }
    webkit::WebView plain(configuration);
    plain.load(foundation::URLRequest(*foundation::URL::fromString(page("/bridge"))));
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return recorder->messages.size() == names.size(); }));
    for (std::size_t index = 0; index < names.size(); ++index) {
        EXPECT_EQ(recorder->messages[index].name, names[index]);
        EXPECT_EQ(recorder->messages[index].body, "{\"n\":" + std::to_string(index + 1) + "}");
    }

    // The window's own web view hands them to the bridge: signing out ends with the login page
    // opened in the application.
    server().reply("GET", page("/signout"),
                   html("<script>window.webkit.messageHandlers.onLogout.postMessage(null);</script>"));
    open("/signout");
    EXPECT_TRUE(MainLoop::iterateUntil([] { return wasOpened("kestrova:///open?url=https://kestrova.example/login"); }))
        << readFile(openedFile());
}

// Clicks the page where the test put its links, with input events as the display would send them.
void click(GtkWidget* view, int x, int y, guint button, GdkModifierType modifiers) {
    GdkWindow* target = gtk_widget_get_window(view);
    ASSERT_NE(target, nullptr);
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_window_get_display(target)));
    const auto send = [&](GdkEventType type) {
        GdkEvent* event = gdk_event_new(type);
        if (type == GDK_MOTION_NOTIFY) {
            event->motion.window = GDK_WINDOW(g_object_ref(target));
            event->motion.x = x;
            event->motion.y = y;
            event->motion.state = modifiers;
            event->motion.time = GDK_CURRENT_TIME;
        } else {
            event->button.window = GDK_WINDOW(g_object_ref(target));
            event->button.x = x;
            event->button.y = y;
            event->button.button = button;
            event->button.state = modifiers;
            event->button.time = GDK_CURRENT_TIME;
        }
        gdk_event_set_device(event, pointer);
        gtk_main_do_event(event);
        gdk_event_free(event);
    };
    send(GDK_MOTION_NOTIFY);
    send(GDK_BUTTON_PRESS);
    send(GDK_BUTTON_RELEASE);
}

// Clicks until the click has had its effect: the engine may not yet take the clicks of a page that has
// just loaded, and on a loaded machine it can take a while.
bool clickUntil(GtkWidget* view, int x, int y, guint button, GdkModifierType modifiers, const std::function<bool()>& done) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        click(view, x, y, button, modifiers);
        if (MainLoop::iterateUntil(done, std::chrono::seconds(3))) {
            return true;
        }
    }
    return false;
}

TEST_F(WebViewDesktopTest, AForeignLinkGoesToTheBrowserAndControlOrMiddleClicksToAWindowWhileThePageStays) {
    const std::string style = "position:absolute;left:0;width:300px;height:100px;display:block;";
    server().reply("GET", page("/links"),
                   html("<body style='margin:0'><a style='" + style + "top:0' href='http://foreign.example/x'>away</a>"
                        "<a style='" + style + "top:100px' href='/own'>own</a>"
                        "<a style='" + style + "top:200px' href='/middle'>middle</a></body>"));
    server().reply("GET", page("/own"), html("<p>own</p>"));
    open("/links");
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return shows("/links"); }));
    auto* view = static_cast<GtkWidget*>(coordinator->webView->page().nativeView());
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(200));

    EXPECT_TRUE(clickUntil(view, 50, 50, 1, static_cast<GdkModifierType>(0), [] { return wasOpened("http://foreign.example/x"); }))
        << readFile(openedFile());
    EXPECT_TRUE(clickUntil(view, 50, 150, 1, GDK_CONTROL_MASK,
                           [] { return wasOpened("kestrova:///open?url=https://kestrova.example/own"); }))
        << readFile(openedFile());
    EXPECT_TRUE(clickUntil(view, 50, 250, 2, static_cast<GdkModifierType>(0),
                           [] { return wasOpened("kestrova:///open?url=https://kestrova.example/middle"); }))
        << readFile(openedFile());
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return shows("/links"); })) << state.url.absoluteString();

    // A plain click on an own link loads it in place.
    EXPECT_TRUE(clickUntil(view, 50, 150, 1, static_cast<GdkModifierType>(0), [&] { return shows("/own"); }))
        << state.url.absoluteString();
}

TEST_F(WebViewDesktopTest, APDFBecomesADownloadThatLandsInTheChosenFileWhoseNotificationShowsItInTheFileManager) {
    desktoptest::FakeNotificationServer notifications;
    desktoptest::FakeFileManager fileManager;
    AppDelegate appDelegate;
    usernotifications::UserNotificationCenter::current().setDelegate(&appDelegate);
    server().reply("GET", page("/files"), html(R"(<a id="r" href="/report.pdf">report</a>)"
                                                R"(<script>window.onload = () => document.getElementById('r').click();</script>)"));
    server().reply("GET", page("/report.pdf"),
                   Reply{.status = 200, .headers = {{"Content-Type", "application/pdf"}}, .body = "%PDF-1.4 kestrova"});
    open("/files");

    GtkFileChooser* chooser = nullptr;
    ASSERT_TRUE(MainLoop::iterateUntil([&] {
        GList* windows = gtk_window_list_toplevels();
        for (GList* item = windows; item != nullptr; item = item->next) {
            if (GTK_IS_FILE_CHOOSER_DIALOG(item->data) && gtk_widget_get_visible(GTK_WIDGET(item->data))) {
                chooser = GTK_FILE_CHOOSER(item->data);
            }
        }
        g_list_free(windows);
        return chooser != nullptr;
    }));
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(300));
    screenshot("save-panel");
    gchar* name = gtk_file_chooser_get_current_name(chooser);
    EXPECT_STREQ(name, "report.pdf");
    g_free(name);
    gchar* folder = gtk_file_chooser_get_current_folder(chooser);
    EXPECT_EQ(fs::path(folder != nullptr ? folder : ""), downloads());
    g_free(folder);

    gtk_file_chooser_set_current_name(chooser, "kept report.pdf");
    gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
    const auto target = downloads() / "kept report.pdf";
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return readFile(target) == "%PDF-1.4 kestrova"; }));
    EXPECT_EQ(coordinator->downloadDelegate->filePathDestination,
              foundation::URL::fileURL(target.string()));
    EXPECT_TRUE(shows("/files"));

    ASSERT_TRUE(MainLoop::iterateUntil([&] { return notifications.notifies == 1; }));
    EXPECT_EQ(notifications.summary, "Download finished");
    EXPECT_EQ(notifications.body, "kept report.pdf");
    EXPECT_EQ(notifications.actions,
              (std::vector<std::string>{"default", "Open", "show-in-folder", "Show in folder"}));
    notifications.emit("ActionInvoked",
                       g_variant_new("(us)", desktoptest::FakeNotificationServer::shownId, "show-in-folder"));
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !fileManager.shown.empty(); }));
    EXPECT_EQ(fileManager.shown, std::vector<std::string>{foundation::URL::fileURL(target.string()).absoluteString()});
}

using testsupport::allWebsiteCookies;

TEST_F(WebViewDesktopTest, TheCookieStoreHasThePagesTokenUntilWebsiteDataIsCleared) {
    server().reply("GET", page("/login"), html("<p>signed in</p>", {{"Set-Cookie", "token=abc123; Path=/"}}));
    open("/login");
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return shows("/login"); }));
    const auto cookies = allWebsiteCookies();
    ASSERT_EQ(cookies.size(), 1U);
    EXPECT_EQ(cookies[0].name, "token");
    EXPECT_EQ(cookies[0].value, "abc123");
    EXPECT_EQ(cookies[0].domain, "kestrova.example");

    // The session is kept on disk, in folders of the user's alone, for the next launch.
    EXPECT_TRUE(MainLoop::iterateUntil([] { return fs::exists(home() / "data" / "kestrova" / "cookies.sqlite"); }));
    for (const auto& folder : {home() / "data" / "kestrova", home() / "cache" / "kestrova"}) {
        EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all) << folder;
    }

    bool cleared = false;
    webkit::WebsiteDataStore::defaultDataStore().removeData(webkit::WebsiteDataStore::allWebsiteDataTypes(),
                                                            foundation::Date::fromTimeIntervalSince1970(0),
                                                            [&] { cleared = true; });
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return cleared; }));
    EXPECT_TRUE(allWebsiteCookies().empty());
}

TEST_F(WebViewDesktopTest, ThePageZoomApplies) {
    server().reply("GET", page("/zoom"),
                   html("<body style='font-family:sans-serif;color:#eee;background:#1d1f24'>"
                        "<h1>Kestrova</h1><p>Today: 3 of 5 journals written.</p></body>"));
    state.pageZoom = 1.25;
    open("/zoom");
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return shows("/zoom"); }));
    EXPECT_DOUBLE_EQ(coordinator->webView->pageZoom(), 1.25);
    state.pageZoom = 2.0;
    state.view().updateView(*coordinator);
    EXPECT_DOUBLE_EQ(coordinator->webView->pageZoom(), 2.0);
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(300));
    screenshot("page-zoomed");
}

std::vector<GtkWidget*> loadingLabels(GtkWidget* root) {
    return testsupport::widgetsMatching(root, [](GtkWidget* widget) {
        return GTK_IS_LABEL(widget) && std::string(gtk_label_get_text(GTK_LABEL(widget))) == "Loading...";
    });
}

TEST(WebWrapperDesktopTest, TheLoadingScreenShowsUntilThePageHasLoadedAndThenThePageShows) {
    // The page waits for the test, so that the loading screen can be seen.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    server().handle("GET", page("/welcome"), [released](const testsupport::RecordedRequest&) {
        released.wait();
        return html("<title>Welcome</title><body style='margin:0;background:#2a6fdb;color:#fff;font-family:sans-serif'>"
                    "<h1 style='padding:40px'>Welcome back</h1></body>");
    });
    WebWrapper wrapper(AppState::shared(), true, "Kestrova");
    wrapper.url = *foundation::URL::fromString(page("/welcome"));
    auto window = ui::WindowRealizer::installed().open({"Kestrova", {800, 600}, true},
                                                                      [&wrapper] { return wrapper.body(); });
    const auto* native = window->host().laidOut().first<ui::node::Native>();
    ASSERT_NE(native, nullptr);
    auto* webView = static_cast<GtkWidget*>(native->as<ui::node::Native>()->view->nativeWidget());
    ASSERT_NE(webView, nullptr);
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return gtk_widget_get_mapped(webView) != FALSE; }));
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(300));

    // Loading: the web view is in the window, at the content's size, but transparent; the loading
    // screen's text shows on black.
    GtkWidget* toplevel = gtk_widget_get_toplevel(webView);
    EXPECT_EQ(gtk_widget_get_allocated_width(webView), 800);
    EXPECT_EQ(gtk_widget_get_allocated_height(webView), 600);
    EXPECT_EQ(gtk_widget_get_opacity(webView), 0.0);
    const auto labels = loadingLabels(toplevel);
    ASSERT_EQ(labels.size(), 1U);
    EXPECT_TRUE(gtk_widget_get_mapped(labels.front()));
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return pixelAt(webView, 100, 100) == std::array<int, 3>{0, 0, 0}; }));
    screenshot("wrapper-loading");

    // Loaded: the page shows at full opacity, the loading screen has gone and the page's title is
    // the window's.
    release.set_value();
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !wrapper.isLoading && gtk_widget_get_opacity(webView) == 1.0; }));
    // The label's widget may go a frame after the page shows: wait for it as for the pixels.
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return loadingLabels(toplevel).empty(); }));
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return pixelAt(webView, 100, 100) == std::array<int, 3>{0x2a, 0x6f, 0xdb}; }));
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return std::string(gtk_window_get_title(GTK_WINDOW(toplevel))) == "Welcome"; }));
    screenshot("wrapper-loaded");

    // Closing the window gives the web view back to its page, which still has it.
    window->close();
    EXPECT_EQ(gtk_widget_get_parent(webView), nullptr);
}

// A page that fails to load: the connection closes before any answer, as when the service has gone
// away. The window keeps its loading screen, never the engine's own error page, and Reload tries the
// page again once the service is back.
TEST(WebWrapperDesktopTest, AFailedLoadKeepsTheLoadingScreenAndReloadBringsThePage) {
    server().reply("GET", page("/flaky"), html("<title>Back</title><body style='margin:0;background:#2a6fdb'></body>"));
    const testsupport::RawReplyServer gone("");
    desktop::DesktopWebEngine::useHTTPProxy("http://127.0.0.1:" + std::to_string(gone.port()));
    WebWrapper wrapper(AppState::shared(), true, "Kestrova");
    wrapper.url = *foundation::URL::fromString(page("/flaky"));
    auto window = ui::WindowRealizer::installed().open({"Kestrova", {800, 600}, true},
                                                                      [&wrapper] { return wrapper.body(); });
    const auto* native = window->host().laidOut().first<ui::node::Native>();
    ASSERT_NE(native, nullptr);
    auto* view = static_cast<GtkWidget*>(native->as<ui::node::Native>()->view->nativeWidget());
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return gtk_widget_get_mapped(view) != FALSE; }));
    // The engine has given up on the page.
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !gone.requests().empty(); }));
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !webkit_web_view_is_loading(WEBKIT_WEB_VIEW(view)); }));
    const auto asked = gone.requests().size();
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(500));
    EXPECT_TRUE(wrapper.isLoading);
    EXPECT_EQ(gtk_widget_get_opacity(view), 0.0);
    GtkWidget* toplevel = gtk_widget_get_toplevel(view);
    const auto labels = loadingLabels(toplevel);
    ASSERT_EQ(labels.size(), 1U);
    EXPECT_TRUE(gtk_widget_get_mapped(labels.front()));
    // The window's updates ask for the failed page no more.
    EXPECT_EQ(gone.requests().size(), asked);
    screenshot("wrapper-failed-load");

    // The engine takes the proxy's return in a while: until then a reload fails as the first load did,
    // and the person reloads again.
    desktop::DesktopWebEngine::useHTTPProxy(proxy().url());
    bool back = false;
    for (int attempt = 0; attempt < 10 && !back; ++attempt) {
        wrapper.viewToReload()();
        back = MainLoop::iterateUntil([&] { return !wrapper.isLoading && gtk_widget_get_opacity(view) == 1.0; },
                                      std::chrono::seconds(3));
    }
    EXPECT_TRUE(back);
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return pixelAt(view, 100, 100) == std::array<int, 3>{0x2a, 0x6f, 0xdb}; }));
    window->close();
}

// A link handed over while the window's first page is still loading, as right after a launch: the
// link's page loads once the first one has, and is never lost.
TEST(WebWrapperDesktopTest, ALinkThatArrivesWhileTheFirstPageLoadsIsLoadedAfterIt) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    server().handle("GET", page("/slow-start"), [released](const testsupport::RecordedRequest&) {
        released.wait();
        return html("<title>Start</title>");
    });
    server().reply("GET", page("/handed-over"),
                   html("<title>Handed over</title><body style='margin:0;background:#2a6fdb'></body>"));
    WebWrapper wrapper(AppState::shared(), true, "Kestrova");
    wrapper.url = *foundation::URL::fromString(page("/slow-start"));
    auto window = ui::WindowRealizer::installed().open({"Kestrova", {800, 600}, true},
                                                                      [&wrapper] { return wrapper.body(); });
    ASSERT_TRUE(MainLoop::iterateUntil([] {
        const auto requests = server().requests();
        return std::any_of(requests.begin(), requests.end(),
                           [](const auto& request) { return request.target == page("/slow-start"); });
    }));
    EXPECT_TRUE(wrapper.openURL(*foundation::URL::fromString("kestrova:///open?url=" + page("/handed-over"))));
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(200));
    release.set_value();
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return !wrapper.isLoading && wrapper.title == "Handed over"; }))
        << wrapper.url.absoluteString();
    EXPECT_EQ(wrapper.url.absoluteString(), page("/handed-over"));
    window->close();
}

TEST_F(WebViewDesktopTest, AForeignDocumentInAnInnerFrameLoadsThereAndAForeignPageStillGoesToTheBrowser) {
    server().reply("GET", page("/framed"),
                   html("<body style='margin:0'><iframe id='f' src='https://video.example/embed'></iframe>"
                        "<a id='away' style='display:block;width:300px;height:100px' href='https://video.example/page'>away</a>"
                        "</body>"));
    server().reply("GET", "https://video.example/embed", html("<p>embedded</p>"));
    server().reply("GET", "https://video.example/page", html("<p>a foreign page</p>"));
    open("/framed");
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return shows("/framed"); }));
    ASSERT_TRUE(MainLoop::iterateUntil([] {
        const auto requests = server().requests();
        return std::any_of(requests.begin(), requests.end(),
                           [](const auto& request) { return request.target == "https://video.example/embed"; });
    }));
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_FALSE(wasOpened("https://video.example/embed")) << readFile(openedFile());

    auto* view = static_cast<GtkWidget*>(coordinator->webView->page().nativeView());
    EXPECT_TRUE(clickUntil(view, 50, 200, 1, static_cast<GdkModifierType>(0), [] { return wasOpened("https://video.example/page"); }))
        << readFile(openedFile());
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return shows("/framed"); })) << state.url.absoluteString();
}

void writeFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << content;
}

// A home of the test's own: the engine's data, the downloads folder and the URL handlers.
void setUpHome() {
    std::string pattern = (fs::temp_directory_path() / "kestrova-web-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    home() = pattern;
    setenv("KESTROVA_APP_GROUP_DIR", (home() / "group").c_str(), 1);
    setenv("XDG_DATA_HOME", (home() / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home() / "config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home() / "cache").c_str(), 1);
    setenv("GTK_USE_PORTAL", "0", 1);
    fs::create_directories(home() / "group");
    fs::create_directories(downloads());
    writeFile(home() / "config" / "user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"" + downloads().string() + "\"\n");
    const auto opener = home() / "opener.sh";
    writeFile(opener, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + openedFile().string() + "'\n");
    fs::permissions(opener, fs::perms::owner_all);
    writeFile(home() / "data" / "applications" / "kestrova-test-opener.desktop",
              "[Desktop Entry]\nType=Application\nName=Opener\nExec=" + opener.string() +
                  " %u\nMimeType=x-scheme-handler/http;x-scheme-handler/https;x-scheme-handler/kestrova;\n"
                  "NoDisplay=true\n");
    writeFile(home() / "config" / "mimeapps.list",
              "[Default Applications]\nx-scheme-handler/http=kestrova-test-opener.desktop\n"
              "x-scheme-handler/https=kestrova-test-opener.desktop\n"
              "x-scheme-handler/kestrova=kestrova-test-opener.desktop\n");
}

}  // namespace
}  // namespace kestrova

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    kestrova::setUpHome();
    desktop::installAll();
    desktop::DesktopWebEngine::useHTTPProxy(kestrova::proxy().url());
    // The engine trusts the proxy's certificate for the hosts it holds TLS for, and no other.
    GTlsCertificate* certificate = g_tls_certificate_new_from_file(kestrova::proxy().certificateFile().c_str(), nullptr);
    for (const auto& host : kestrova::secureHosts()) {
        webkit_web_context_allow_tls_certificate_for_host(desktop::applicationWebContext(), certificate, host.c_str());
    }
    g_object_unref(certificate);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(kestrova::home(), ignored);
    return result;
}

