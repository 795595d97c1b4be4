#include "platform/kits/usernotifications/UserNotificationCenter.hpp"

#include "platform/kits/appkit/Application.hpp"
#include "platform/kits/appkit/Workspace.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "platform/kits/usernotifications/NotificationError.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using testsupport::MainLoop;
using usernotifications::AuthorizationOptions;
using usernotifications::NotificationRequest;
using usernotifications::PresentationOptions;
using usernotifications::UserNotificationCenter;
using Lines = std::vector<std::string>;

headless::HeadlessBackend& headlessBackend() {
    return headless::HeadlessBackend::installed();
}

// Answers every notification with `options` and keeps the clicks it hears.
class RecordingDelegate final : public usernotifications::UserNotificationCenterDelegate {
public:
    explicit RecordingDelegate(PresentationOptions options) : options_(options) {}

    void willPresent(const usernotifications::Notification& notification,
                     std::function<void(PresentationOptions)> completionHandler) override {
        presented.push_back(notification.request.identifier);
        completionHandler(options_);
    }
    void didReceive(const usernotifications::NotificationResponse& response,
                    std::function<void()> completionHandler) override {
        responses.push_back(response);
        completionHandler();
    }

    std::vector<std::string> presented;
    std::vector<usernotifications::NotificationResponse> responses;

private:
    PresentationOptions options_;
};

class UserNotificationCenterTest : public testing::Test {
protected:
    void SetUp() override {
        headlessBackend().notificationService().reset();
        headlessBackend().effects().clear();
        UserNotificationCenter::current().setDelegate(nullptr);
    }
    void TearDown() override { UserNotificationCenter::current().setDelegate(nullptr); }

    static NotificationRequest entryComment() {
        return {"comment-1", {"New comment", "Ann wrote", {{"url", std::string("https://kestrova.example/ann")}}}};
    }
};

struct AuthorizationCase {
    const char* name;
    bool granted;
    std::optional<std::string> error;
};

class AuthorizationTest : public UserNotificationCenterTest, public testing::WithParamInterface<AuthorizationCase> {};

TEST_P(AuthorizationTest, TheAnswerArrivesAsTheTasksValueOrError) {
    const AuthorizationCase& c = GetParam();
    headlessBackend().notificationService().answerAuthorization(c.granted, c.error);
    const AuthorizationOptions options{AuthorizationOptions::badge | AuthorizationOptions::sound |
                                       AuthorizationOptions::alert | AuthorizationOptions::provisional};
    EXPECT_EQ(options.rawValue, 71u);
    const auto ask = [options]() -> concurrency::Task<bool> {
        co_return co_await UserNotificationCenter::current().requestAuthorization(options);
    };
    if (c.error) {
        try {
            MainLoop::runOnMainActor(ask);
            FAIL() << "no error";
        } catch (const usernotifications::NotificationError& error) {
            EXPECT_EQ(std::string(error.what()), *c.error);
        }
    } else {
        EXPECT_EQ(MainLoop::runOnMainActor(ask), c.granted);
    }
    EXPECT_EQ(headlessBackend().effects().lines(), Lines{"notifications authorization requested: 71"});
}

INSTANTIATE_TEST_SUITE_P(Answers, AuthorizationTest,
                         testing::Values(AuthorizationCase{"Granted", true, std::nullopt},
                                         AuthorizationCase{"Denied", false, std::nullopt},
                                         AuthorizationCase{"ServerGone", false, "the server went away"}),
                         [](const testing::TestParamInfo<AuthorizationCase>& param) { return param.param.name; });

TEST_F(UserNotificationCenterTest, TheDelegateDecidesHowANotificationShowsAndNoOptionsShowsNothing) {
    UserNotificationCenter::current().add(entryComment());  // no delegate: banner, list and sound
    RecordingDelegate quiet(PresentationOptions{});
    UserNotificationCenter::current().setDelegate(&quiet);
    std::vector<std::optional<std::string>> completions;
    UserNotificationCenter::current().add(entryComment(), [&](std::optional<std::string> error) { completions.push_back(error); });
    RecordingDelegate shown(PresentationOptions{27});
    UserNotificationCenter::current().setDelegate(&shown);
    UserNotificationCenter::current().add(entryComment(), [&](std::optional<std::string> error) { completions.push_back(error); });
    EXPECT_EQ(headlessBackend().effects().lines(),
              (Lines{"notification posted: comment-1 options 26", "notification posted: comment-1 options 27"}));
    EXPECT_EQ(quiet.presented, Lines{"comment-1"});
    EXPECT_EQ(completions, (std::vector<std::optional<std::string>>{std::nullopt, std::nullopt}));
}

TEST_F(UserNotificationCenterTest, AClickReachesTheDelegateWithThePayloadAndWithoutOneIsDropped) {
    UserNotificationCenter::current().add(entryComment());
    EXPECT_TRUE(headlessBackend().notificationService().click("comment-1"));  // no delegate yet
    RecordingDelegate delegate(PresentationOptions{27});
    UserNotificationCenter::current().setDelegate(&delegate);
    EXPECT_TRUE(headlessBackend().notificationService().click("comment-1"));
    EXPECT_FALSE(headlessBackend().notificationService().click("never-posted"));
    ASSERT_EQ(delegate.responses.size(), 1u);
    const auto& response = delegate.responses[0];
    EXPECT_EQ(response.actionIdentifier, usernotifications::NotificationResponse::defaultActionIdentifier);
    EXPECT_EQ(response.notification.request.content.userInfo, entryComment().content.userInfo);
}

// Hears the device token as the application's delegate.
class TokenDelegate final : public appkit::ApplicationDelegate {
public:
    void didRegisterForRemoteNotifications(const foundation::Data& deviceToken) override { tokens.push_back(deviceToken); }
    std::vector<foundation::Data> tokens;
};

TEST(RemoteNotificationsTest, TheProvidersTokenReachesTheDelegateOfTheMomentItArrives) {
    auto& push = headlessBackend().pushService();
    push.forgetRegistrations();
    headlessBackend().effects().clear();
    TokenDelegate delegate;
    appkit::Application::shared().setDelegate(nullptr);
    appkit::Application::shared().registerForRemoteNotifications();
    push.deliverToken(foundation::Data(std::string_view("early")));  // no delegate: dropped
    appkit::Application::shared().setDelegate(&delegate);
    const foundation::Data token(std::vector<std::uint8_t>{0x0A, 0xFF});
    push.deliverToken(token);
    appkit::Application::shared().setDelegate(nullptr);
    EXPECT_EQ(headlessBackend().effects().lines(), Lines{"remote notifications registered"});
    ASSERT_EQ(delegate.tokens.size(), 1u);
    EXPECT_TRUE(std::equal(delegate.tokens[0].bytes().begin(), delegate.tokens[0].bytes().end(), token.bytes().begin(),
                           token.bytes().end()));
    push.forgetRegistrations();
}

TEST(WorkspaceRevealTest, EachFileIsShownInTheFileManager) {
    headlessBackend().effects().clear();
    appkit::Workspace::shared().activateFileViewerSelectingURLs(
        {*foundation::URL::fromString("file:///tmp/a%20b.pdf"), *foundation::URL::fromString("file:///tmp/c.txt")});
    EXPECT_EQ(headlessBackend().effects().lines(),
              (Lines{"workspace revealed: file:///tmp/a%20b.pdf", "workspace revealed: file:///tmp/c.txt"}));
}

}  // namespace
