#include "platform/desktop/DesktopWorkspaceService.hpp"
#include "platform/desktop/FreedesktopNotificationService.hpp"
#include "platform/usernotifications/UserNotificationCenter.hpp"
#include "tests/platform/desktop/FakeNotificationServer.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

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

TEST(DesktopWorkspaceServiceTest, RevealingFilesAsksTheFileManagerToShowThem) {
    FakeFileManager fileManager;
    desktop::DesktopWorkspaceService workspace;
    workspace.activateFileViewerSelectingURLs({*foundation::URL::fromString("file:///tmp/a%20b.pdf")});
    ASSERT_TRUE(spinUntil([&] { return !fileManager.shown.empty(); }));
    EXPECT_EQ(fileManager.shown, std::vector<std::string>{"file:///tmp/a%20b.pdf"});
}

}  // namespace
