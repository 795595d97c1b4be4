// The kestrova program of the local build against the stand-in service, as a user meets them: on a
// display and a session bus of their own (ctest runs each case under Xvfb and dbus-run-session),
// with this test as the panel's StatusNotifier watcher, and every directory the program writes in a
// scratch directory. The stand-in runs on the build's own port, where the program's compiled-in
// hosts point, and logs every request it answers: that log is how the test sees the pages load.
// Pages are driven through the stand-in's development hashes ("/login#sign-in", "#sign-out"),
// handed to the running program in "kestrova:" links by a second launch. As under `make run`, no
// desktop handler of "kestrova:" links is installed: the program handles its own links itself.
#include "kestrova/intents/IntentSchema.hpp"
#include "kestrova/model/User.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "tests/platform/backends/desktop/BusPeer.hpp"
#include "tests/platform/backends/desktop/FakeStatusNotifierWatcher.hpp"
#include "tests/support/GtkPixels.hpp"
#include "tests/support/ScopedEnvironment.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/StandinProcess.hpp"
#include "tests/support/Subprocess.hpp"
#include "tools/widgethost/PlacementStore.hpp"

#include <gtest/gtest.h>

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <gdk/gdk.h>
#include <gio/gio.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using desktoptest::spinUntil;
using testsupport::Subprocess;

constexpr const char* program = KESTROVA_PROGRAM;
constexpr const char* widgetHost = KESTROVA_WIDGETHOST;
constexpr const char* shortcutsTool = KESTROVA_SHORTCUTS_TOOL;
constexpr const char* appGroup = KESTROVA_APP_GROUP_ID;
constexpr const char* applicationId = KESTROVA_APPLICATION_ID;
constexpr std::chrono::seconds patience{60};

// "kestrova:///open?url=..." with the page's address in query encoding.
std::string openLink(const std::string& page) {
    std::string link = "kestrova:///open?url=";
    for (const unsigned char c : page) {
        if (std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
            link += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            link += escaped;
        }
    }
    return link;
}

// The tray icon as the panel gets it: ARGB32 pixels, big-endian, row by row.
struct Pixmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> argb;

    // The pixels, by index, that show the "Daily" colour (of either appearance) fully opaque.
    [[nodiscard]] std::set<std::size_t> dailyPixels() const {
        struct Rgb {
            int r, g, b;
        };
        constexpr Rgb daily[] = {{0xF2, 0x78, 0x4B}, {0xF5, 0x8A, 0x62}};
        std::set<std::size_t> found;
        for (std::size_t i = 0; i + 3 < argb.size(); i += 4) {
            const auto near = [&](const Rgb& colour) {
                return std::abs(argb[i + 1] - colour.r) <= 2 && std::abs(argb[i + 2] - colour.g) <= 2 &&
                       std::abs(argb[i + 3] - colour.b) <= 2;
            };
            if (argb[i] == 0xFF && std::ranges::any_of(daily, near)) {
                found.insert(i / 4);
            }
        }
        return found;
    }
};

// The display as a person sees it.
class Screen {
public:
    Screen() : pixels_(testsupport::screenPixels()) { EXPECT_NE(pixels_, nullptr) << "no display"; }
    ~Screen() {
        if (pixels_ != nullptr) {
            g_object_unref(pixels_);
        }
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // The pixels of the application icon's orange face, when they lie together as the loading
    // screen's icon of at most 56 by 56 points does; 0 when they are scattered over the screen.
    [[nodiscard]] int iconPixels() const {
        if (pixels_ == nullptr) {
            return 0;
        }
        const int width = gdk_pixbuf_get_width(pixels_);
        const int height = gdk_pixbuf_get_height(pixels_);
        const int stride = gdk_pixbuf_get_rowstride(pixels_);
        const int channels = gdk_pixbuf_get_n_channels(pixels_);
        const guchar* bytes = gdk_pixbuf_read_pixels(pixels_);
        int count = 0;
        int left = width, right = -1, top = height, bottom = -1;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const guchar* pixel = bytes + y * stride + x * channels;
                if (pixel[0] >= 0xD8 && pixel[1] >= 0x58 && pixel[1] <= 0x95 && pixel[2] >= 0x30 && pixel[2] <= 0x70) {
                    ++count;
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        return count > 0 && right - left < 64 && bottom - top < 64 ? count : 0;
    }

private:
    GdkPixbuf* pixels_ = nullptr;
};

Screen screen() { return {}; }

// A widget's picture as the widget host renders it from the command line, with its links.
struct RenderedWidget {
    struct Link {
        int x = 0, y = 0, width = 0, height = 0;
        std::string url;
    };
    GdkPixbuf* pixels = nullptr;
    std::vector<Link> links;

    RenderedWidget() = default;
    RenderedWidget(const RenderedWidget&) = delete;
    RenderedWidget& operator=(const RenderedWidget&) = delete;
    RenderedWidget(RenderedWidget&& other) noexcept
        : pixels(std::exchange(other.pixels, nullptr)), links(std::move(other.links)) {}
    ~RenderedWidget() {
        if (pixels != nullptr) {
            g_object_unref(pixels);
        }
    }
};

// Whether `pixels` shows `picture` with its top left corner at (left, top), within a step or two of
// each colour. The rounded corners, where the board shows through, are left out.
bool shows(GdkPixbuf* pixels, int left, int top, GdkPixbuf* picture) {
    constexpr int corner = 16;
    const int width = gdk_pixbuf_get_width(picture);
    const int height = gdk_pixbuf_get_height(picture);
    if (left < 0 || top < 0 || left + width > gdk_pixbuf_get_width(pixels) ||
        top + height > gdk_pixbuf_get_height(pixels)) {
        return false;
    }
    const auto at = [](GdkPixbuf* image, int x, int y) {
        return gdk_pixbuf_read_pixels(image) + y * gdk_pixbuf_get_rowstride(image) + x * gdk_pixbuf_get_n_channels(image);
    };
    int differing = 0;
    for (int y = corner; y < height - corner; ++y) {
        for (int x = corner; x < width - corner; ++x) {
            const guchar* seen = at(pixels, left + x, top + y);
            const guchar* wanted = at(picture, x, y);
            if (std::abs(seen[0] - wanted[0]) > 2 || std::abs(seen[1] - wanted[1]) > 2 ||
                std::abs(seen[2] - wanted[2]) > 2) {
                ++differing;
            }
        }
    }
    return differing == 0;
}

// Whether two pictures of one size differ anywhere.
bool differ(GdkPixbuf* one, GdkPixbuf* other) {
    return gdk_pixbuf_get_width(one) != gdk_pixbuf_get_width(other) ||
           gdk_pixbuf_get_height(one) != gdk_pixbuf_get_height(other) || !shows(one, 0, 0, other);
}

// The main menu's "Reload", the first item of the fifth command group.
constexpr const char* reloadAction = "command-4-0";

class KestrovaEndToEndTest : public testing::Test {
protected:
    KestrovaEndToEndTest() {
        for (const char* folder : {"home", "config", "state", "data", "cache", "group"}) {
            fs::create_directories(scratch / folder);
        }
        environment.set("HOME", (scratch / "home").string());
        environment.set("XDG_CONFIG_HOME", (scratch / "config").string());
        environment.set("XDG_STATE_HOME", (scratch / "state").string());
        environment.set("XDG_DATA_HOME", (scratch / "data").string());
        environment.set("XDG_CACHE_HOME", (scratch / "cache").string());
        environment.set("KESTROVA_APP_GROUP_DIR", (scratch / "group").string());
        environment.set("KESTROVA_DEV_CERTIFICATE", standin->certificate());
        // The person's browser, which notes what it was asked to open.
        const auto browser = scratch.write("browser", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" +
                                                          (scratch / "browsed").string() + "'\n");
        fs::permissions(browser, fs::perms::owner_all);
        fs::create_directories(scratch / "data" / "applications");
        scratch.write("data/applications/test-browser.desktop",
                      "[Desktop Entry]\nType=Application\nName=Browser\nExec=" + browser.string() +
                          " %u\nMimeType=x-scheme-handler/http;x-scheme-handler/https;\n");
        scratch.write("config/mimeapps.list", "[Default Applications]\nx-scheme-handler/http=test-browser.desktop\n"
                                              "x-scheme-handler/https=test-browser.desktop\n");
        // The tray item is shown, in colour, from the start.
        foundation::UserDefaults settings(appGroup);
        settings.set(true, "statusBarIcon");
        settings.set(false, "statusBarIconMonochrome");
    }

    void launch() {
        application = std::make_unique<Subprocess>(std::vector<std::string>{program});
        ASSERT_TRUE(pageLoads("/login")) << log();
    }

    // Starts the program again and gives the first page that loads.
    std::string relaunch() {
        application = std::make_unique<Subprocess>(std::vector<std::string>{program});
        std::string first;
        EXPECT_TRUE(standinPrints([&](const std::string& line) {
            if (line.starts_with("loaded ")) {
                first = line.substr(std::string("loaded ").size());
            }
            return !first.empty();
        })) << log();
        return first;
    }

    // Hands a link to the running program through a second launch, which ends at once.
    static void handOver(const std::string& link) {
        const auto second = Subprocess::run({program, link});
        EXPECT_EQ(second.exitCode, 0) << link << ": " << second.errors;
    }

    // Reads the stand-in's log, keeping the main loop turning for the watcher, until a line passes.
    bool standinPrints(const std::function<bool(const std::string&)>& wanted) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (std::chrono::steady_clock::now() < deadline) {
            spinUntil([] { return false; }, std::chrono::milliseconds(20));
            while (const auto line = standin->readLine(std::chrono::milliseconds(20))) {
                requests.push_back(*line);
                if (wanted(*line)) {
                    return true;
                }
            }
        }
        return false;
    }

    // Whether the stand-in answers `method` for `path` on `host` with a status below 400.
    bool serviceAnswers(const std::string& method, const std::string& host, const std::string& path) {
        const std::string prefix = method + " " + host + ":" + std::to_string(standin->port()) + " " + path + " ";
        return standinPrints([&](const std::string& line) {
            return line.starts_with(prefix) && std::stoi(line.substr(prefix.size())) < 400;
        });
    }

    // Whether a page at `path` finishes loading: its load event is what a user waits for.
    bool pageLoads(const std::string& path) {
        return standinPrints([&](const std::string& line) { return line == "loaded " + path; });
    }

    [[nodiscard]] std::string log() const {
        std::ostringstream text;
        text << "the stand-in answered:\n";
        for (const auto& line : requests) {
            text << "  " << line << "\n";
        }
        return text.str();
    }

    // What the browser was asked to open, a line each.
    [[nodiscard]] std::string browsed() const {
        const auto file = scratch / "browsed";
        return fs::exists(file) ? testsupport::ScratchDirectory::read(file) : std::string();
    }

    // Clicks the middle of the window with the real pointer, Control held, as a person would.
    static void controlClick() {
        const auto click = Subprocess::run({"/usr/bin/xdotool", "mousemove", "--sync", "400", "400", "keydown", "ctrl",
                                            "click", "1", "keyup", "ctrl"});
        EXPECT_EQ(click.exitCode, 0) << click.errors;
    }

    [[nodiscard]] static std::optional<std::string> token() { return foundation::UserDefaults(appGroup).string("token"); }

    [[nodiscard]] static std::optional<kestrova::User> cachedUser() {
        const auto json = foundation::UserDefaults(appGroup).data("user");
        return json ? std::optional(foundation::JSONDecoder().decode<kestrova::User>(*json)) : std::nullopt;
    }

    static bool eventually(const std::function<bool()>& done) {
        return spinUntil(done, std::chrono::duration_cast<std::chrono::milliseconds>(patience));
    }

    // Signs the demo user in through the sign-in page, in the running program's window.
    void signIn() {
        handOver(openLink(standin->origin() + "/login#sign-in"));
        ASSERT_TRUE(serviceAnswers("POST", standin->domain(), "/login")) << log();
        ASSERT_TRUE(pageLoads("/home")) << log();
        ASSERT_TRUE(eventually([] { return token().has_value() && cachedUser().has_value(); }))
            << "token and user were not stored; " << log();
    }

    [[nodiscard]] Pixmap trayIcon() {
        Pixmap pixmap;
        GVariant* pixmaps = watcher.property("IconPixmap");
        if (pixmaps == nullptr) {
            return pixmap;
        }
        if (g_variant_n_children(pixmaps) > 0) {
            GVariant* bytes = nullptr;
            g_variant_get_child(pixmaps, 0, "(ii@ay)", &pixmap.width, &pixmap.height, &bytes);
            gsize length = 0;
            const auto* data = static_cast<const std::uint8_t*>(g_variant_get_fixed_array(bytes, &length, 1));
            pixmap.argb.assign(data, data + length);
            g_variant_unref(bytes);
        }
        g_variant_unref(pixmaps);
        return pixmap;
    }

    // Chooses "Quit Kestrova" in the tray item's menu, as the panel does.
    void quitFromTheTray() {
        GVariant* menuPath = watcher.property("Menu");
        ASSERT_NE(menuPath, nullptr);
        const std::string path = g_variant_get_string(menuPath, nullptr);
        g_variant_unref(menuPath);
        std::vector<desktoptest::MenuEntry> entries;
        ASSERT_TRUE(eventually([&] {
            entries = watcher.menuEntries(path);
            return !entries.empty();
        }));
        const auto quit = std::ranges::find(entries, "Quit Kestrova", &desktoptest::MenuEntry::label);
        ASSERT_NE(quit, entries.end());
        desktoptest::clickMenuEntry(watcher.peer, watcher.itemSender, path, quit->id);
    }

    // Quits whichever instance runs, and waits until it has left the bus.
    static void quitOverTheBus() {
        std::string path = "/" + std::string(applicationId);
        std::ranges::replace(path, '.', '/');
        const auto quit = Subprocess::run({"/usr/bin/gdbus", "call", "--session", "--dest", applicationId, "--object-path",
                                           path, "--method", "org.gtk.Actions.Activate", "quit", "[]", "{}"});
        EXPECT_EQ(quit.exitCode, 0) << quit.errors;
        EXPECT_TRUE(eventually([] {
            const auto owned = Subprocess::run({"/usr/bin/gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                                                "--object-path", "/org/freedesktop/DBus", "--method",
                                                "org.freedesktop.DBus.NameHasOwner", applicationId});
            return owned.output.find("false") != std::string::npos;
        }));
    }

    // A widget at the board's scale, rendered from the command line against the same service and
    // suite as the running widget host: the Today widget at its place's family, or the Journal
    // widget on a journal.
    [[nodiscard]] RenderedWidget render(const std::optional<std::string>& journal = std::nullopt) const {
        RenderedWidget rendered;
        const auto file = scratch / "widget.png";
        std::vector<std::string> arguments{widgetHost, "render", "DailyWidget", "--family", "systemMedium"};
        if (journal) {
            arguments = {widgetHost, "render", "JournalWidget", "--family", "systemSmall", "--journal", *journal};
        }
        arguments.insert(arguments.end(), {"--scale", "1", "--out", file.string()});
        const auto render = Subprocess::run(arguments);
        EXPECT_EQ(render.exitCode, 0) << render.errors;
        g_autoptr(GError) error = nullptr;
        rendered.pixels = gdk_pixbuf_new_from_file(file.c_str(), &error);
        EXPECT_NE(rendered.pixels, nullptr) << (error != nullptr ? error->message : "no picture");
        std::istringstream lines(render.output);
        for (std::string line; std::getline(lines, line);) {
            RenderedWidget::Link link;
            char url[512] = {};
            if (std::sscanf(line.c_str(), "link: %d,%d %dx%d %511s", &link.x, &link.y, &link.width, &link.height, url) ==
                5) {
                link.url = url;
                rendered.links.push_back(link);
            }
        }
        return rendered;
    }

    // The widget board's window, raised above the application's window (there is no window manager
    // to keep it below), and the top left corner of its first tile on the screen; the others follow
    // it in a row.
    [[nodiscard]] static std::optional<std::pair<int, int>> raiseWidgetBoard() {
        const auto found = Subprocess::run({"/usr/bin/xdotool", "search", "--name", "^Kestrova Widgets$"});
        const std::string window = found.output.substr(0, found.output.find('\n'));
        if (found.exitCode != 0 || window.empty()) {
            return std::nullopt;
        }
        static_cast<void>(Subprocess::run({"/usr/bin/xdotool", "windowraise", window}));
        const auto geometry = Subprocess::run({"/usr/bin/xdotool", "getwindowgeometry", "--shell", window});
        int x = -1;
        int y = -1;
        std::istringstream lines(geometry.output);
        for (std::string line; std::getline(lines, line);) {
            std::sscanf(line.c_str(), "X=%d", &x);
            std::sscanf(line.c_str(), "Y=%d", &y);
        }
        // The tiles lie in a row, a tile spacing in from the window's edges.
        constexpr int tileSpacing = 16;
        return x < 0 || y < 0 ? std::nullopt : std::optional(std::pair{x + tileSpacing, y + tileSpacing});
    }

    // Whether the board comes to show `picture` at `offset` from its first tile's corner, as a person
    // would see it; `tile` is that corner then.
    static bool boardShows(GdkPixbuf* picture, std::pair<int, int>& tile, int offset = 0) {
        return eventually([&] {
            const auto origin = raiseWidgetBoard();
            GdkPixbuf* pixels = testsupport::screenPixels();
            const bool shown =
                origin && pixels != nullptr && shows(pixels, origin->first + offset, origin->second, picture);
            if (pixels != nullptr) {
                g_object_unref(pixels);
            }
            if (shown) {
                tile = *origin;
            }
            return shown;
        });
    }

    // The stand-in with its data kept in the scratch directory, so that a new one carries on.
    [[nodiscard]] std::unique_ptr<testsupport::StandinProcess> startStandin() const {
        return std::make_unique<testsupport::StandinProcess>(testsupport::StandinProcess::Options{
            .stateDirectory = scratch / "standin", .port = KESTROVA_SERVICE_PORT, .logRequests = true, .loadBeacon = true});
    }

    // The window's action of a command of the main menu, over the bus, as the menu's item or its key
    // would run it.
    static void runCommand(const std::string& action) {
        std::string path = "/" + std::string(applicationId);
        std::ranges::replace(path, '.', '/');
        const auto run = Subprocess::run({"/usr/bin/gdbus", "call", "--session", "--dest", applicationId, "--object-path",
                                          path, "--method", "org.gtk.Actions.Activate", action, "[]", "{}"});
        EXPECT_EQ(run.exitCode, 0) << run.errors;
    }

    // The pages of the windows kept for the next launch, in their order.
    [[nodiscard]] std::vector<std::string> keptPages() const {
        std::vector<std::string> pages;
        const auto file = scratch / "state" / "kestrova" / "scenes";
        if (!fs::exists(file)) {
            return pages;
        }
        std::istringstream lines(testsupport::ScratchDirectory::read(file));
        for (std::string line; std::getline(lines, line);) {
            if (const auto at = line.find("value.url="); at != std::string::npos) {
                pages.push_back(line.substr(at + std::string("value.url=").size()));
            }
        }
        return pages;
    }

    testsupport::ScratchDirectory scratch;
    std::unique_ptr<testsupport::StandinProcess> standin = startStandin();
    testsupport::ScopedEnvironment environment;
    desktoptest::FakeStatusNotifierWatcher watcher;
    // Declared after the stand-in and the watcher, so that a program still running (a failed case)
    // is killed before they go.
    std::unique_ptr<Subprocess> application;
    std::vector<std::string> requests;
};

TEST_F(KestrovaEndToEndTest, SigningInThroughThePageKeepsTheSessionAndFillsTheTrayRingAndTheTrayQuits) {
    launch();
    ASSERT_TRUE(eventually([&] { return !watcher.itemPath.empty(); })) << "the tray item did not register";
    Pixmap before;
    ASSERT_TRUE(eventually([&] {
        before = trayIcon();
        return before.width > 0;
    }));

    signIn();
    EXPECT_FALSE(token()->empty());
    EXPECT_EQ(cachedUser()->username.str(), "demo");

    // The ring in the "Daily" colour takes the place of the application icon: pixels of that colour
    // where there were none.
    const auto wasDaily = before.dailyPixels();
    std::size_t newlyDaily = 0;
    EXPECT_TRUE(eventually([&] {
        const auto now = trayIcon().dailyPixels();
        newlyDaily = std::ranges::count_if(now, [&](std::size_t pixel) { return !wasDaily.contains(pixel); });
        return newlyDaily >= 8;
    })) << newlyDaily << " new pixels of the ring's colour";

    quitFromTheTray();
    const auto ended = application->wait();
    EXPECT_EQ(ended.exitCode, 0) << ended.errors;
    // The suite opens and still holds the session.
    EXPECT_TRUE(token().has_value());
    EXPECT_TRUE(cachedUser().has_value());
}

TEST_F(KestrovaEndToEndTest, AJournalLinkOpensItsPageAndSigningOutForgetsTheSessionAndOpensTheSignInPage) {
    launch();
    signIn();

    const auto user = cachedUser();
    ASSERT_TRUE(user->journals && !user->journals->empty());
    const auto& journal = user->journals->back();
    handOver("kestrova:///create-entry?username=someone-else&journalId=" + std::to_string(journal.id));
    EXPECT_TRUE(pageLoads("/demo/" + journal.slug.str())) << log();

    // The page signs out with the API and posts "onLogout".
    handOver(openLink(standin->origin() + "/home#sign-out"));
    EXPECT_TRUE(serviceAnswers("GET", "api." + standin->domain(), "/logout")) << log();
    EXPECT_TRUE(eventually([] { return !token() && !cachedUser(); })) << "the session was kept";
    // Signing out closes every window and opens the sign-in page in a new one: the program goes on,
    // with exactly that window.
    EXPECT_TRUE(pageLoads("/login")) << log();
    EXPECT_TRUE(application->running());
    EXPECT_TRUE(eventually([&] { return keptPages() == std::vector<std::string>{standin->origin() + "/login"}; }))
        << testing::PrintToString(keptPages());
    quitOverTheBus();
    const auto signedOut = application->wait();
    EXPECT_EQ(signedOut.exitCode, 0) << signedOut.errors;
    EXPECT_EQ(keptPages(), std::vector<std::string>{standin->origin() + "/login"});
}

// The web session is kept on disk: a relaunch after quitting, and one after the program was killed,
// both open on the signed-in home page, not on the sign-in page.
TEST_F(KestrovaEndToEndTest, TheSessionSurvivesAQuitAndAKilledProgram) {
    launch();
    signIn();
    quitFromTheTray();
    EXPECT_EQ(application->wait().exitCode, 0);

    EXPECT_EQ(relaunch(), "/home") << log();
    ASSERT_TRUE(application->running());
    kill(application->pid(), SIGKILL);
    static_cast<void>(application->wait());
    // The suite is intact and still holds the session.
    EXPECT_TRUE(token().has_value());
    EXPECT_TRUE(cachedUser().has_value());

    EXPECT_EQ(relaunch(), "/home") << log();
    quitOverTheBus();
    EXPECT_EQ(application->wait().exitCode, 0);
}

// The service goes away while the program runs: a reload then fails, and the window shows the
// application's loading screen (its icon on black), not a black page; once the service is back, a
// reload brings the page back.
TEST_F(KestrovaEndToEndTest, AReloadWhileTheServiceIsAwayShowsTheLoadingScreenUntilItIsBack) {
    launch();
    signIn();
    standin.reset();
    runCommand(reloadAction);
    // The program has tried and failed: its window shows the icon of the loading screen.
    EXPECT_TRUE(eventually([] { return screen().iconPixels() >= 200; })) << screen().iconPixels() << " icon pixels";
    testsupport::saveScreen("e2e-service-away");

    standin = startStandin();
    runCommand(reloadAction);
    EXPECT_TRUE(pageLoads("/home")) << log();
    quitOverTheBus();
    EXPECT_EQ(application->wait().exitCode, 0);
}

// A Control-click on a link of the service opens its page in another window of the application, and
// the page the person was on stays as it was.
TEST_F(KestrovaEndToEndTest, AControlClickOpensTheLinkInAnotherWindowAndThePageStays) {
    launch();
    signIn();
    const auto user = cachedUser();
    ASSERT_TRUE(user && user->journals && !user->journals->empty());
    const auto& journal = user->journals->front();
    const std::string journalPath = "/demo/" + journal.slug.str();
    // The home page, covered with one link to the journal, so that a click anywhere is on it. The
    // window shows the home page already, so only its hash changes: no new load to wait for, and
    // the clicks go on until one has taken.
    handOver(openLink(standin->origin() + "/home#link-cover=%2Fdemo%2F" + journal.slug.str()));
    bool opened = false;
    for (int attempt = 0; attempt < 10 && !opened; ++attempt) {
        controlClick();
        opened = standinPrints([&](const std::string& line) { return line == "loaded " + journalPath; });
    }
    EXPECT_TRUE(opened) << log();
    quitOverTheBus();
    EXPECT_EQ(application->wait().exitCode, 0);
    const auto pages = keptPages();
    EXPECT_EQ(pages.size(), 2U) << testing::PrintToString(pages);
    EXPECT_NE(std::ranges::find(pages, standin->origin() + "/home#link-cover=%2Fdemo%2F" + journal.slug.str()),
              pages.end())
        << testing::PrintToString(pages);
    EXPECT_NE(std::ranges::find(pages, standin->origin() + journalPath), pages.end()) << testing::PrintToString(pages);
    EXPECT_EQ(browsed(), "");
}

// The playground's frame shows a page of another site: it loads in the frame, and the browser is not
// asked to open it.
TEST_F(KestrovaEndToEndTest, AForeignPageInAFrameLoadsThereAndNotInTheBrowser) {
    launch();
    signIn();
    handOver(openLink(standin->origin() + "/playground"));
    // The frame's page comes before the page's own load event.
    EXPECT_TRUE(serviceAnswers("GET", "www." + standin->domain(), "/embed")) << log();
    EXPECT_TRUE(pageLoads("/playground")) << log();
    quitOverTheBus();
    EXPECT_EQ(application->wait().exitCode, 0);
    EXPECT_EQ(browsed().find("/embed"), std::string::npos) << browsed();
}

// The widget host beside the application, as `make run` starts it: the Today widget on the desktop
// shows what the extension renders, a click on one of its journals opens that journal's page in
// the running application, and publishing an entry in the page changes the widget (its list and
// ring) while the host goes on running.
TEST_F(KestrovaEndToEndTest, TheTodayWidgetOpensAJournalAndShowsAnEntryPublishedInThePageWithoutARestart) {
    launch();
    signIn();
    Subprocess host({widgetHost, "show"});
    const auto before = render();
    ASSERT_NE(before.pixels, nullptr);
    std::pair<int, int> tile;
    ASSERT_TRUE(boardShows(before.pixels, tile)) << "the board never showed the Today widget";

    // Beside it, the Journal widget that the first run placed on the default journal.
    kestrova::registerIntentSchema();
    const auto placed = widgethost::PlacementStore(widgethost::PlacementStore::defaultDirectory(), std::cerr).placements();
    ASSERT_TRUE(placed && placed->size() == 2);
    const auto journalWidget = placed->at(1).journalIdentifier();
    ASSERT_TRUE(journalWidget) << "the Journal widget was placed on no journal";
    const auto oneJournal = render(*journalWidget);
    ASSERT_NE(oneJournal.pixels, nullptr);
    constexpr int tileSpacing = 16;
    EXPECT_TRUE(boardShows(oneJournal.pixels, tile, gdk_pixbuf_get_width(before.pixels) + tileSpacing))
        << "the board does not show the Journal widget on journal " << *journalWidget;
    testsupport::saveScreen("e2e-widgets-before");

    // A journal's row: its link opens the journal's page in the running application.
    const auto row = std::ranges::find_if(before.links, [](const RenderedWidget::Link& link) {
        return link.url.find("journalId=") != std::string::npos;
    });
    ASSERT_NE(row, before.links.end()) << "the Today widget lists no journal";
    const std::int64_t journalId =
        std::stoll(row->url.substr(row->url.find("journalId=") + std::string("journalId=").size()));
    const auto user = cachedUser();
    ASSERT_TRUE(user && user->journals);
    const auto journal = std::ranges::find(*user->journals, journalId, &kestrova::Journal::id);
    ASSERT_NE(journal, user->journals->end());
    const std::string journalPath = "/demo/" + journal->slug.str();
    ASSERT_TRUE(boardShows(before.pixels, tile));
    const auto click = Subprocess::run({"/usr/bin/xdotool", "mousemove", "--sync",
                                        std::to_string(tile.first + row->x + row->width / 2),
                                        std::to_string(tile.second + row->y + row->height / 2), "click", "1"});
    EXPECT_EQ(click.exitCode, 0) << click.errors;
    EXPECT_TRUE(pageLoads(journalPath)) << log();

    handOver(openLink(standin->origin() + journalPath + "#publish"));
    ASSERT_TRUE(serviceAnswers("POST", "api." + standin->domain(), "/entries/create")) << log();
    const auto published = std::chrono::steady_clock::now();
    const auto after = render();
    ASSERT_NE(after.pixels, nullptr);
    ASSERT_TRUE(differ(before.pixels, after.pixels)) << "the entry did not change the Today widget";
    EXPECT_TRUE(boardShows(after.pixels, tile)) << "the board kept the Today widget as it was";
    const auto shownAfter = std::chrono::duration<double>(std::chrono::steady_clock::now() - published).count();
    RecordProperty("widgetShownSecondsAfterPublishing", std::to_string(shownAfter));
    std::cout << "the Today widget showed the entry " << shownAfter << " s after it was published\n";
    testsupport::saveScreen("e2e-widgets-after");
    EXPECT_TRUE(host.running()) << "the widget host was restarted or ended";

    host.kill(SIGTERM);
    const auto ended = host.wait();
    EXPECT_EQ(ended.exitCode, 0) << ended.errors;
    EXPECT_EQ(ended.errors.find("widgethost: "), std::string::npos) << "the widget host reported faults: " << ended.errors;
    quitOverTheBus();
    EXPECT_EQ(application->wait().exitCode, 0);
}

// The application's own actions, as a shortcut of two steps runs them: an entry made with "Create
// Entry" gets a metric value with "Add Metric Data to Entry", through the running application, and
// the service keeps both. With the application gone, an action starts it without a window, and
// "Open Publish View" then brings one forward on the journal's page.
TEST_F(KestrovaEndToEndTest, AShortcutCreatesAnEntryAndAddsAMetricThroughTheApplicationRunningOrNot) {
    launch();
    signIn();
    const auto user = cachedUser();
    ASSERT_TRUE(user && user->journals && !user->journals->empty() && user->metrics && !user->metrics->empty());
    const auto& journal = user->journals->front();
    const auto& metric = user->metrics->front();
    const auto shortcut = Subprocess::run({shortcutsTool, "action", "run", "Create Entry", "--journal",
                                           std::to_string(journal.id), "--notes", "Ran 5 km from a shortcut", "--isPrivate",
                                           "false", "then",
                                           "Add Metric Data to Entry", "--entry", "@previous", "--metric",
                                           metric.id.uuidString(), "--value", "3.5"});
    ASSERT_EQ(shortcut.exitCode, 0) << shortcut.output << shortcut.errors;
    const auto number = shortcut.output.find("Entry #");
    ASSERT_NE(number, std::string::npos) << shortcut.output;
    const std::int64_t entryId = std::stoll(shortcut.output.substr(number + std::string("Entry #").size()));
    EXPECT_TRUE(serviceAnswers("POST", "api." + standin->domain(), "/entries/create")) << log();
    EXPECT_TRUE(serviceAnswers("POST", "api." + standin->domain(), "/metric-data")) << log();
    const std::string kept = testsupport::ScratchDirectory::read(scratch / "standin" / "data.json");
    EXPECT_NE(kept.find("Ran 5 km from a shortcut"), std::string::npos);
    EXPECT_NE(kept.find("\"entry_id\":" + std::to_string(entryId)), std::string::npos) << "no metric value on the entry";
    EXPECT_NE(kept.find("\"value\":3.5"), std::string::npos);
    EXPECT_TRUE(application->running());

    quitOverTheBus();
    EXPECT_EQ(application->wait().exitCode, 0);
    const auto quiet = Subprocess::run({shortcutsTool, "action", "run", "Set Quiet Mode", "--quietMode", "false"});
    EXPECT_EQ(quiet.exitCode, 0) << quiet.output << quiet.errors;
    EXPECT_TRUE(serviceAnswers("POST", "api." + standin->domain(), "/users")) << log();

    // The application started for the action has no window; "Open Publish View" opens one, on the
    // journal's page.
    const auto open = Subprocess::run({shortcutsTool, "action", "run", "Open Publish View", "--journal",
                                       std::to_string(journal.id)});
    EXPECT_EQ(open.exitCode, 0) << open.output << open.errors;
    EXPECT_TRUE(pageLoads("/demo/" + journal.slug.str())) << log();
    quitOverTheBus();
    EXPECT_EQ(browsed(), "");
}

}  // namespace
