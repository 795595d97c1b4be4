#include "orvane/SetQuietModeIntentHandler.hpp"

#include "tests/orvane/ExtensionFixture.hpp"
#include "tests/support/MainLoop.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace orvane {
namespace {

using kestrova::SetQuietModeIntent;
using kestrova::apitest::api;
using kestrova::apitest::lastRequest;
using testing::ExtensionTest;
using testsupport::MainLoop;
using testsupport::Reply;

std::shared_ptr<SetQuietModeIntent> quietModeIntent(std::optional<intents::Number> value) {
    auto intent = std::make_shared<SetQuietModeIntent>();
    intent->setQuietMode(value);
    return intent;
}

class SetQuietModeHandlerTest : public ExtensionTest {
protected:
    // Through the callback form, as the platform calls it.
    template <typename Answer, typename Operation>
    std::shared_ptr<Answer> callback(Operation operation) {
        std::shared_ptr<Answer> answer;
        std::atomic<int> calls = 0;
        operation([&](std::shared_ptr<Answer> given) {
            ++calls;
            concurrency::MainActor::shared().enqueue([&answer, given] { answer = given; });
        });
        MainLoop::iterateUntil([&] { return answer != nullptr; }, std::chrono::seconds(90));
        EXPECT_EQ(calls.load(), 1);
        return answer;
    }

    std::int64_t handle(const std::shared_ptr<SetQuietModeIntent>& intent) {
        SetQuietModeIntentHandler handler;
        const auto response = callback<kestrova::SetQuietModeIntentResponse>(
            [&](auto done) { handler.handle(intent, std::function<void(std::shared_ptr<kestrova::SetQuietModeIntentResponse>)>(done)); });
        EXPECT_EQ(response->userActivity(), nullptr);
        return response->platformCode();
    }
};

TEST_F(SetQuietModeHandlerTest, SendsTheSettingAloneAndAnswersWithTheServersVerdict) {
    signIn("s3cret");
    struct Case {
        intents::Number value;
        Reply reply;
        std::string body;
        std::int64_t code;
    };
    const std::vector<Case> cases = {
        {intents::Number(true), {.status = 200, .body = R"({"id":1,"quietMode":true})"}, R"({"quietMode":true})", 4},
        {intents::Number(false), {.status = 200, .body = R"({"id":1})"}, R"({"quietMode":false})", 4},
        {intents::Number(std::int64_t{2}), {.status = 200, .body = R"({"id":1})"}, R"({"quietMode":true})", 4},
        // A refusal fails, even with a body that reads as a user.
        {intents::Number(true), {.status = 500, .body = R"({"id":1})"}, R"({"quietMode":true})", 5},
        {intents::Number(true), {.status = 200, .body = R"({"message":"nope"})"}, R"({"quietMode":true})", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body + " " + std::to_string(c.reply.status));
        api().reply("POST", "/users", c.reply);
        const auto before = requestsTo("/users");
        EXPECT_EQ(handle(quietModeIntent(c.value)), c.code);
        EXPECT_EQ(requestsTo("/users"), before + 1);
        EXPECT_EQ(lastRequest().body, c.body);
        EXPECT_EQ(lastRequest().header("Cookie"), "token=s3cret");
    }
}

TEST_F(SetQuietModeHandlerTest, FailsWithoutSendingWhenSignedOutOrWithoutAValue) {
    const auto before = requestsTo("/users");
    EXPECT_EQ(handle(quietModeIntent(intents::Number(true))), 5);
    signIn();
    EXPECT_EQ(handle(quietModeIntent(std::nullopt)), 5);
    EXPECT_EQ(requestsTo("/users"), before);
}

TEST_F(SetQuietModeHandlerTest, ATokenThatWouldForgeAHeaderFailsWithTheReasonAndSendsNothing) {
    for (const auto& token : testing::forgingTokens) {
        SCOPED_TRACE(::testing::PrintToString(token));
        signIn(token);
        const auto before = requestsTo("/users");
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(handle(quietModeIntent(intents::Number(true))), 5);
        EXPECT_THAT(::testing::internal::GetCapturedStderr(),
                    ::testing::HasSubstr("orvane: quiet mode cannot be set: the token stored in"));
        EXPECT_EQ(requestsTo("/users"), before);
    }
}

TEST_F(SetQuietModeHandlerTest, FailsWhenTheServerCannotBeReached) {
    signIn();
    api().reply("POST", "/users", {.status = 200, .body = "", .delay = {}, .fault = Reply::Fault::closeMidBody,
                                   .promisedLength = 10});
    EXPECT_EQ(handle(quietModeIntent(intents::Number(true))), 5);
}

TEST_F(SetQuietModeHandlerTest, ResolvesTheValueAsABoolean) {
    SetQuietModeIntentHandler handler;
    const std::vector<std::pair<std::optional<intents::Number>, std::optional<bool>>> cases = {
        {intents::Number(true), true},
        {intents::Number(false), false},
        {intents::Number(std::int64_t{0}), false},
        {intents::Number(std::int64_t{7}), true},
        {std::nullopt, std::nullopt},
    };
    for (const auto& [value, resolved] : cases) {
        const auto result = callback<intents::BooleanResolutionResult>([&](auto done) {
            handler.resolveQuietMode(quietModeIntent(value),
                                     std::function<void(std::shared_ptr<intents::BooleanResolutionResult>)>(done));
        });
        EXPECT_EQ(result->kind(), resolved ? intents::ResolutionResult::Kind::success
                                           : intents::ResolutionResult::Kind::needsValue);
        EXPECT_EQ(result->boolValue(), resolved);
    }
}

}  // namespace
}  // namespace orvane
