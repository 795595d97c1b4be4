// The stand-in in the real web engine, on a virtual display: with the development setting the
// engine trusts the stand-in's certificate, signs in on its pages and keeps the session's cookie
// for the whole domain, so that the beta host and the API host get it too.
#include "platform/backends/desktop/DesktopBackend.hpp"
#include "platform/runtime/foundation/core/DevelopmentCertificate.hpp"
#include "platform/runtime/foundation/http/HTTPCookie.hpp"
#include "platform/kits/webkit/ScriptMessageHandler.hpp"
#include "platform/kits/webkit/WebView.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/WebsiteCookies.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/StandinProcess.hpp"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

namespace {

using testsupport::MainLoop;
using testsupport::StandinProcess;

StandinProcess*& standin() {
    static StandinProcess* process = nullptr;
    return process;
}

std::string at(const std::string& subdomain, const std::string& path) {
    return standin()->origin(subdomain) + path;
}

// With KESTROVA_PICTURES_DIR set to a folder, the screen is kept there as <name>.png.
void screenshot(const std::string& name) {
    if (const char* folder = std::getenv("KESTROVA_PICTURES_DIR")) {
        const std::string command =
            "import -window root '" + (std::filesystem::path(folder) / (name + ".png")).string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
}

class RecordingHandler final : public webkit::ScriptMessageHandler {
public:
    void didReceiveScriptMessage(const webkit::ScriptMessage& message) override { names.push_back(message.name); }
    std::vector<std::string> names;
};

using testsupport::allWebsiteCookies;

// Every navigation the page asks for, all allowed.
class RecordingNavigationDelegate final : public webkit::NavigationDelegate {
public:
    void decidePolicyForNavigationAction(webkit::WebView& /*webView*/, const webkit::NavigationAction& action,
                                         ActionDecisionHandler decisionHandler) override {
        actions.push_back(action);
        decisionHandler(webkit::NavigationActionPolicy::allow);
    }
    std::vector<webkit::NavigationAction> actions;
};

// What the script gives as text in the page, once the engine has answered; none when it failed.
std::optional<std::string> evaluated(webkit::WebView& view, const std::string& script) {
    struct Answer {
        bool done = false;
        std::optional<std::string> text;
    };
    // Shared with the callback, which may come after the wait has given up.
    auto answer = std::make_shared<Answer>();
    webkit_web_view_evaluate_javascript(
        WEBKIT_WEB_VIEW(view.page().nativeView()), script.c_str(), -1, nullptr, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            const std::unique_ptr<std::shared_ptr<Answer>> reply(static_cast<std::shared_ptr<Answer>*>(data));
            JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, nullptr);
            if (value != nullptr) {
                char* text = jsc_value_to_string(value);
                (*reply)->text = text;
                g_free(text);
                g_object_unref(value);
            }
            (*reply)->done = true;
        },
        new std::shared_ptr<Answer>(answer));
    MainLoop::iterateUntil([&] { return answer->done; });
    return answer->text;
}

// Input as the display would send it, to the page's native view.
void send(GtkWidget* view, GdkEventType type, int x, int y, guint keyval = 0,
          GdkModifierType modifiers = static_cast<GdkModifierType>(0)) {
    GdkWindow* target = gtk_widget_get_window(view);
    GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(target));
    GdkEvent* event = gdk_event_new(type);
    if (type == GDK_KEY_PRESS || type == GDK_KEY_RELEASE) {
        event->key.window = GDK_WINDOW(g_object_ref(target));
        event->key.keyval = keyval;
        event->key.time = GDK_CURRENT_TIME;
        GdkKeymapKey* keys = nullptr;
        gint count = 0;
        if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_window_get_display(target)), keyval,
                                              &keys, &count) &&
            count > 0) {
            event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
        }
        g_free(keys);
        gdk_event_set_device(event, gdk_seat_get_keyboard(seat));
    } else {
        event->button.window = GDK_WINDOW(g_object_ref(target));
        event->button.x = x;
        event->button.y = y;
        event->button.button = 1;
        event->button.state = modifiers;
        event->button.time = GDK_CURRENT_TIME;
        gdk_event_set_device(event, gdk_seat_get_pointer(seat));
    }
    gtk_main_do_event(event);
    gdk_event_free(event);
}

void click(GtkWidget* view, int x, int y) {
    send(view, GDK_BUTTON_PRESS, x, y);
    send(view, GDK_BUTTON_RELEASE, x, y);
}

void type(GtkWidget* view, guint keyval) {
    send(view, GDK_KEY_PRESS, 0, 0, keyval);
    send(view, GDK_KEY_RELEASE, 0, 0, keyval);
}

class StandinDesktopTest : public testing::Test {
protected:
    StandinDesktopTest() {
        for (const char* name : {"onLogin", "onPublishedEntry"}) {
            configuration_.userContentController->addScriptMessageHandler(recorder_, name);
        }
        view_.emplace(configuration_);
        window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_default_size(GTK_WINDOW(window_), 900, 700);
        gtk_container_add(GTK_CONTAINER(window_), static_cast<GtkWidget*>(view_->page().nativeView()));
        gtk_widget_show_all(window_);
    }

    ~StandinDesktopTest() override {
        view_.reset();
        gtk_widget_destroy(window_);
    }

    // Loads the page and waits until it is shown with the title.
    bool shows(const std::string& url, const std::string& title) {
        view_->load(foundation::URLRequest(*foundation::URL::fromString(url)));
        return isShowing(title);
    }

    bool isShowing(const std::string& title) {
        const bool shown =
            MainLoop::iterateUntil([&] { return !view_->isLoading() && view_->title().value_or("") == title; });
        // Lets the page paint before a screenshot.
        MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(300));
        return shown;
    }

    webkit::WebViewConfiguration configuration_;
    std::shared_ptr<RecordingHandler> recorder_ = std::make_shared<RecordingHandler>();
    std::optional<webkit::WebView> view_;
    GtkWidget* window_ = nullptr;
};

TEST_F(StandinDesktopTest, TheEngineTrustsTheStandinSignsInAndSharesTheSessionAcrossItsHosts) {
    ASSERT_TRUE(shows(at("", "/login"), "Sign in · Kestrova")) << view_->title().value_or("(no title)");

    ASSERT_TRUE(shows(at("", "/login#sign-in"), "Journals · Kestrova"))
        << view_->title().value_or("(no title)");
    EXPECT_EQ(recorder_->names, std::vector<std::string>{"onLogin"});
    screenshot("standin-home");
    const auto cookies = allWebsiteCookies();
    const auto token = std::ranges::find(cookies, std::string("token"), &foundation::HTTPCookie::name);
    ASSERT_NE(token, cookies.end());
    EXPECT_EQ(token->domain, "." + standin()->domain());

    // The beta host knows the session and says that it is the beta.
    ASSERT_TRUE(shows(at("beta", "/home"), "Journals · Kestrova"));
    screenshot("standin-beta-home");
    ASSERT_TRUE(shows(at("", "/demo/workout"), "Workout · Kestrova"));
    screenshot("standin-journal");

    // Publishing from the page: the call goes to the API host, another origin, with the session's
    // cookie, and the page tells the application.
    auto* view = static_cast<GtkWidget*>(view_->page().nativeView());
    gtk_widget_grab_focus(view);
    click(view, 450, 250);
    type(view, GDK_KEY_x);
    click(view, 174, 440);
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return recorder_->names.size() == 2; }));
    EXPECT_EQ(recorder_->names, (std::vector<std::string>{"onLogin", "onPublishedEntry"}));
    // The journal is done today and shows the entry.
    ASSERT_TRUE(shows(at("", "/demo/workout"), "Workout · Kestrova"));
    screenshot("standin-journal-published");
    ASSERT_TRUE(shows(at("", "/playground"), "Playground · Kestrova"));
    screenshot("standin-playground");
    // The engine's first page paints late, so the sign-in page is pictured last.
    ASSERT_TRUE(shows(at("beta", "/login"), "Sign in · Kestrova"));
    screenshot("standin-beta-login");
}

// "#link-cover=<path>" covers the page with one link to the path: a real click anywhere, here with
// Control held, is a click of that link, keys and all.
TEST_F(StandinDesktopTest, ALinkCoverHashMakesAClickAnywhereAClickOfItsLink) {
    ASSERT_TRUE(shows(at("", "/login#sign-in"), "Journals · Kestrova"));
    RecordingNavigationDelegate navigations;
    view_->setNavigationDelegate(&navigations);
    view_->load(foundation::URLRequest(*foundation::URL::fromString(at("", "/home#link-cover=%2Fdemo%2Fmusic"))));
    const auto covered = [&] { return evaluated(*view_, "String(document.getElementById('link-cover') !== null)"); };
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return covered() == "true"; })) << covered().value_or("(no answer)");
    auto* native = static_cast<GtkWidget*>(view_->page().nativeView());
    const auto controlClicked = [&] {
        return std::ranges::any_of(navigations.actions, [&](const webkit::NavigationAction& action) {
            return action.navigationType == webkit::NavigationType::linkActivated && action.requestURL &&
                   action.requestURL->absoluteString() == at("", "/demo/music") &&
                   action.modifierFlags.isExactly(webkit::EventModifierFlags::control);
        });
    };
    // The engine may not take a click until the cover is laid out: click until it has.
    for (int attempt = 0; attempt < 10 && !controlClicked(); ++attempt) {
        send(native, GDK_BUTTON_PRESS, 300, 300, 0, GDK_CONTROL_MASK);
        send(native, GDK_BUTTON_RELEASE, 300, 300, 0, GDK_CONTROL_MASK);
        MainLoop::iterateUntil(controlClicked, std::chrono::seconds(2));
    }
    EXPECT_TRUE(controlClicked());

    // No path: the page says so and covers nothing.
    view_->load(foundation::URLRequest(*foundation::URL::fromString(at("", "/playground#link-cover=%E0%A4"))));
    const auto toast = [&] { return evaluated(*view_, "document.getElementById('toast').textContent"); };
    EXPECT_TRUE(MainLoop::iterateUntil([&] { return toast() == "Link cover: %E0%A4 is no percent-encoded path"; }))
        << toast().value_or("(no answer)");
    EXPECT_EQ(covered(), "false");
    view_->setNavigationDelegate(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // A home of the test's own for the engine's data, and the stand-in with the development setting
    // pointing at its certificate, as scripts/run-local sets it, for its hosts, as the application's main
    // names them.
    testsupport::ScratchDirectory home;
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    StandinProcess process({.stateDirectory = home / "standin"});
    standin() = &process;
    setenv("KESTROVA_DEV_CERTIFICATE", process.certificate().c_str(), 1);
    foundation::DevelopmentCertificate::limitToHosts(process.hosts());
    desktop::installAll();
    return RUN_ALL_TESTS();
}
