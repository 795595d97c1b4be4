#include "platform/desktop/DesktopApplicationService.hpp"
#include "platform/desktop/DesktopWindowRealizer.hpp"
#include "platform/desktop/DesktopWorkspaceService.hpp"
#include "platform/desktop/FreedesktopNotificationService.hpp"
#include "platform/usernotifications/UserNotificationCenter.hpp"
#include "tests/platform/desktop/BusPeer.hpp"
#include "tests/support/ScopedEnvironment.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using desktoptest::BusPeer;
using desktoptest::spinUntil;
using usernotifications::PresentationOptions;

constexpr const char* serverXml = R"xml(<node>
  <interface name="org.freedesktop.Notifications">
    <method name="GetCapabilities"><arg type="as" direction="out"/></method>
    <method name="Notify">
      <arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
      <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/>
      <arg type="a{sv}" direction="in"/><arg type="i" direction="in"/><arg type="u" direction="out"/>
    </method>
  </interface>
</node>)xml";

// The desktop's notification server: keeps what it was asked to show.
struct FakeNotificationServer {
    BusPeer peer;
    std::string summary;
    std::vector<std::string> actions;
    std::optional<bool> suppressSound;
    int notifies = 0;

    FakeNotificationServer() {
        peer.serve("/org/freedesktop/Notifications", serverXml,
                   [this](const std::string&, const std::string& method, GVariant* arguments) -> GVariant* {
                       if (method == "GetCapabilities") {
                           const gchar* capabilities[] = {"actions", "body", nullptr};
                           return g_variant_new("(^as)", capabilities);
                       }
                       const gchar* title = nullptr;
                       gchar** keys = nullptr;
                       GVariant* hints = nullptr;
                       g_variant_get(arguments, "(&su&s&s&s^as@a{sv}i)", nullptr, nullptr, nullptr, &title, nullptr,
                                     &keys, &hints, nullptr);
                       summary = title;
                       actions.assign(keys, keys + g_strv_length(keys));
                       gboolean suppress = FALSE;
                       if (g_variant_lookup(hints, "suppress-sound", "b", &suppress)) {
                           suppressSound = suppress != FALSE;
                       }
                       g_strfreev(keys);
                       g_variant_unref(hints);
                       ++notifies;
                       return g_variant_new("(u)", 5u);
                   });
        EXPECT_TRUE(peer.own("org.freedesktop.Notifications"));
    }

    void emit(const char* signal, GVariant* parameters) {
        g_dbus_connection_emit_signal(peer.connection(), nullptr, "/org/freedesktop/Notifications",
                                      "org.freedesktop.Notifications", signal, parameters, nullptr);
    }
};

class ClickDelegate final : public usernotifications::UserNotificationCenterDelegate {
public:
    void willPresent(const usernotifications::Notification&, std::function<void(PresentationOptions)> done) override {
        done(PresentationOptions{27});
    }
    void didReceive(const usernotifications::NotificationResponse& response, std::function<void()> done) override {
        responses.push_back(response);
        done();
    }
    std::vector<usernotifications::NotificationResponse> responses;
};

TEST(FreedesktopNotificationServiceTest, ANotificationGoesToTheServerAndItsClickComesBackWithThePayload) {
    FakeNotificationServer server;
    desktop::FreedesktopNotificationService service("Kestrova", "kestrova");
    ClickDelegate delegate;
    usernotifications::UserNotificationCenter::current().setDelegate(&delegate);

    std::optional<bool> granted;
    service.requestAuthorization({71}, [&](bool answer, std::optional<std::string> error) {
        EXPECT_EQ(error, std::nullopt);
        granted = answer;
    });
    ASSERT_TRUE(spinUntil([&] { return granted.has_value(); }));
    EXPECT_TRUE(*granted);

    bool posted = false;
    const usernotifications::NotificationRequest request{
        "comment-1", {"New comment", "Ann wrote", {{"fileURL", std::string("file:///tmp/a.pdf")}}}};
    service.post(request, PresentationOptions{PresentationOptions::banner | PresentationOptions::list},
                 [&](std::optional<std::string> error) {
                     EXPECT_EQ(error, std::nullopt);
                     posted = true;
                 });
    ASSERT_TRUE(spinUntil([&] { return posted; }));
    EXPECT_EQ(server.summary, "New comment");
    EXPECT_EQ(server.actions, (std::vector<std::string>{"default", "Open"}));
    EXPECT_EQ(server.suppressSound, std::optional<bool>(true));

    server.emit("ActionInvoked", g_variant_new("(us)", 99u, "default"));  // another application's
    server.emit("ActionInvoked", g_variant_new("(us)", 5u, "default"));
    ASSERT_TRUE(spinUntil([&] { return !delegate.responses.empty(); }));
    spinUntil([] { return false; }, std::chrono::milliseconds(100));
    ASSERT_EQ(delegate.responses.size(), 1u);
    EXPECT_EQ(delegate.responses[0].actionIdentifier, usernotifications::NotificationResponse::defaultActionIdentifier);
    EXPECT_EQ(delegate.responses[0].notification.request.content.userInfo, request.content.userInfo);

    // Once closed, a late click on it is not reported.
    server.emit("NotificationClosed", g_variant_new("(uu)", 5u, 2u));
    server.emit("ActionInvoked", g_variant_new("(us)", 5u, "default"));
    spinUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(delegate.responses.size(), 1u);
    usernotifications::UserNotificationCenter::current().setDelegate(nullptr);
}

TEST(FreedesktopNotificationServiceTest, WithoutAServerPermissionIsNotGrantedAndPostingFails) {
    desktop::FreedesktopNotificationService service("Kestrova", "kestrova");
    std::optional<bool> granted;
    service.requestAuthorization({71}, [&](bool answer, std::optional<std::string>) { granted = answer; });
    ASSERT_TRUE(spinUntil([&] { return granted.has_value(); }));
    EXPECT_FALSE(*granted);
    std::optional<std::string> failure;
    service.post({"x", {"t", "b", {}}}, PresentationOptions{27}, [&](std::optional<std::string> error) {
        failure = error.value_or("");
    });
    ASSERT_TRUE(spinUntil([&] { return failure.has_value(); }));
    EXPECT_FALSE(failure->empty());
}

constexpr const char* fileManagerXml = R"xml(<node>
  <interface name="org.freedesktop.FileManager1">
    <method name="ShowItems"><arg type="as" direction="in"/><arg type="s" direction="in"/></method>
  </interface>
</node>)xml";

// The workspace of a process in which the application does not run, as the runner's or a widget host's.
struct DesktopWorkspace {
    explicit DesktopWorkspace(desktop::ApplicationIdentity identity) : service(application, std::move(identity)) {}

    desktop::DesktopWindowRealizer realizer;
    desktop::DesktopApplicationService application{realizer};
    desktop::DesktopWorkspaceService service;
};

TEST(DesktopWorkspaceServiceTest, RevealingFilesAsksTheFileManagerToShowThem) {
    BusPeer fileManager;
    std::vector<std::string> shown;
    fileManager.serve("/org/freedesktop/FileManager1", fileManagerXml,
                      [&](const std::string&, const std::string&, GVariant* arguments) -> GVariant* {
                          gchar** uris = nullptr;
                          g_variant_get(arguments, "(^as&s)", &uris, nullptr);
                          shown.assign(uris, uris + g_strv_length(uris));
                          g_strfreev(uris);
                          return nullptr;
                      });
    ASSERT_TRUE(fileManager.own("org.freedesktop.FileManager1"));
    DesktopWorkspace workspace({});
    workspace.service.activateFileViewerSelectingURLs({*foundation::URL::fromString("file:///tmp/a%20b.pdf")});
    ASSERT_TRUE(spinUntil([&] { return !shown.empty(); }));
    EXPECT_EQ(shown, std::vector<std::string>{"file:///tmp/a%20b.pdf"});
}

constexpr const char* applicationXml = R"xml(<node>
  <interface name="org.freedesktop.Application">
    <method name="Open">
      <arg type="as" direction="in"/><arg type="a{sv}" direction="in"/>
    </method>
  </interface>
</node>)xml";

// Another program opens a link of the application's own: it reaches the running application over the
// bus; with none there, the desktop's handler of the scheme gets it.
TEST(DesktopWorkspaceServiceTest, AnOwnLinkGoesToTheRunningApplicationOverTheBusAndElseToTheDesktopsHandler) {
    const testsupport::ScratchDirectory home;
    const auto opened = home.path() / "opened.txt";
    const auto opener = home.write("opener.sh", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + opened.string() + "'\n");
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    std::filesystem::create_directories(home.path() / "data" / "applications");
    std::filesystem::create_directories(home.path() / "config");
    home.write("data/applications/kestrova-test-opener.desktop",
               "[Desktop Entry]\nType=Application\nName=Opener\nExec=" + opener.string() +
                   " %u\nMimeType=x-scheme-handler/kestrova;\nNoDisplay=true\n");
    home.write("config/mimeapps.list", "[Default Applications]\nx-scheme-handler/kestrova=kestrova-test-opener.desktop\n");
    // GIO reads the handlers from here from its first look on.
    testsupport::ScopedEnvironment environment;
    environment.set("XDG_DATA_HOME", (home.path() / "data").string());
    environment.set("XDG_CONFIG_HOME", (home.path() / "config").string());

    const std::string id = "org.example.KestrovaLinkTest";
    DesktopWorkspace workspace({id, "kestrova"});
    const auto link = *foundation::URL::fromString("kestrova:///open?url=https%3A%2F%2Fkestrova.example%2Fhome");
    {
        BusPeer application;
        std::vector<std::string> received;
        application.serve("/org/example/KestrovaLinkTest", applicationXml,
                          [&](const std::string&, const std::string& method, GVariant* arguments) -> GVariant* {
                              gchar** uris = nullptr;
                              g_variant_get(arguments, "(^as@a{sv})", &uris, nullptr);
                              received.assign(uris, uris + g_strv_length(uris));
                              g_strfreev(uris);
                              EXPECT_EQ(method, "Open");
                              return nullptr;
                          });
        ASSERT_TRUE(application.own(id));
        EXPECT_TRUE(workspace.service.open(link));
        ASSERT_TRUE(spinUntil([&] { return !received.empty(); }));
        EXPECT_EQ(received, std::vector<std::string>{link.absoluteString()});
        // The answer leaves before the application does, or the caller would take it for gone.
        g_dbus_connection_flush_sync(application.connection(), nullptr, nullptr);
    }
    EXPECT_TRUE(workspace.service.open(link));
    ASSERT_TRUE(spinUntil([&] { return std::filesystem::exists(opened); }));
    EXPECT_TRUE(spinUntil([&] { return testsupport::ScratchDirectory::read(opened) == link.absoluteString() + "\n"; }));
}

}  // namespace
