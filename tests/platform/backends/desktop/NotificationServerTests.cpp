#include "platform/backends/desktop/DesktopApplicationService.hpp"
#include "platform/backends/desktop/DesktopIntentService.hpp"
#include "platform/backends/desktop/DesktopWindowRealizer.hpp"
#include "platform/backends/desktop/DesktopWorkspaceService.hpp"
#include "platform/backends/desktop/FreedesktopNotificationService.hpp"
#include "platform/kits/usernotifications/UserNotificationCenter.hpp"
#include "tests/platform/backends/desktop/BusPeer.hpp"
#include "tests/platform/backends/desktop/FakeNotificationServer.hpp"
#include "tests/support/ScopedEnvironment.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using desktoptest::BusPeer;
using desktoptest::FakeFileManager;
using desktoptest::FakeNotificationServer;
using desktoptest::spinUntil;
using usernotifications::PresentationOptions;

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

TEST(FreedesktopNotificationServiceTest, ANotificationGoesToTheServerAndItsClickOrActionComesBackWithThePayload) {
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
        "comment-1",
        {"New comment", "Ann wrote", {{"fileURL", std::string("file:///tmp/a.pdf")}}, {{"show-in-folder", "Show in folder"}}}};
    service.post(request, PresentationOptions{PresentationOptions::banner | PresentationOptions::list},
                 [&](std::optional<std::string> error) {
                     EXPECT_EQ(error, std::nullopt);
                     posted = true;
                 });
    ASSERT_TRUE(spinUntil([&] { return posted; }));
    EXPECT_EQ(server.summary, "New comment");
    EXPECT_EQ(server.body, "Ann wrote");
    EXPECT_EQ(server.actions, (std::vector<std::string>{"default", "Open", "show-in-folder", "Show in folder"}));
    EXPECT_EQ(server.suppressSound, std::optional<bool>(true));

    server.emit("ActionInvoked", g_variant_new("(us)", 99u, "default"));  // another application's
    server.emit("ActionInvoked", g_variant_new("(us)", FakeNotificationServer::shownId, "default"));
    ASSERT_TRUE(spinUntil([&] { return !delegate.responses.empty(); }));
    spinUntil([] { return false; }, std::chrono::milliseconds(100));
    ASSERT_EQ(delegate.responses.size(), 1u);
    EXPECT_EQ(delegate.responses[0].actionIdentifier, usernotifications::NotificationResponse::defaultActionIdentifier);
    EXPECT_EQ(delegate.responses[0].notification.request.content.userInfo, request.content.userInfo);

    // The notification's own action comes back under its identifier.
    server.emit("ActionInvoked", g_variant_new("(us)", FakeNotificationServer::shownId, "show-in-folder"));
    ASSERT_TRUE(spinUntil([&] { return delegate.responses.size() == 2; }));
    EXPECT_EQ(delegate.responses[1].actionIdentifier, "show-in-folder");
    EXPECT_EQ(delegate.responses[1].notification.request.content.userInfo, request.content.userInfo);

    // Once closed, a late click on it is not reported.
    server.emit("NotificationClosed", g_variant_new("(uu)", FakeNotificationServer::shownId, 2u));
    server.emit("ActionInvoked", g_variant_new("(us)", FakeNotificationServer::shownId, "default"));
    spinUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(delegate.responses.size(), 2u);
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

// The workspace of a process in which the application does not run, as the runner's or a widget host's.
struct DesktopWorkspace {
    explicit DesktopWorkspace(desktop::ApplicationIdentity identity) : service(application, std::move(identity)) {}

    desktop::DesktopWindowRealizer realizer;
    desktop::DesktopIntentService intents;
    desktop::DesktopApplicationService application{realizer, intents};
    desktop::DesktopWorkspaceService service;
};

TEST(DesktopWorkspaceServiceTest, RevealingFilesAsksTheFileManagerToShowThem) {
    FakeFileManager fileManager;
    DesktopWorkspace workspace({});
    workspace.service.activateFileViewerSelectingURLs({*foundation::URL::fromString("file:///tmp/a%20b.pdf")});
    ASSERT_TRUE(spinUntil([&] { return !fileManager.shown.empty(); }));
    EXPECT_EQ(fileManager.shown, std::vector<std::string>{"file:///tmp/a%20b.pdf"});
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
