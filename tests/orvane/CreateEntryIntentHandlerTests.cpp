#include "orvane/CreateEntryIntentHandler.hpp"

#include "platform/runtime/foundation/core/DevelopmentCertificateOverride.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "tests/orvane/ExtensionFixture.hpp"
#include "tests/support/ContentCoding.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/MultipartForm.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/TLSIdentity.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace orvane {
namespace {

using kestrova::CreateEntryIntent;
using kestrova::IntentJournal;
using kestrova::apitest::api;
using kestrova::apitest::lastRequest;
using testing::ExtensionTest;
using testsupport::MainLoop;
using testsupport::Reply;

std::shared_ptr<CreateEntryIntent> intentWith(std::optional<std::string> notes, std::optional<std::string> identifier,
                                              std::optional<bool> isPrivate, bool withJournal = true) {
    auto intent = std::make_shared<CreateEntryIntent>();
    intent->setNotes(std::move(notes));
    if (withJournal) {
        intent->setJournal(std::make_shared<IntentJournal>(std::move(identifier), "Run", std::nullopt));
    }
    if (isPrivate) {
        intent->setIsPrivate(intents::Number(*isPrivate));
    }
    return intent;
}

// What a handling came to, in the order it happened on the main thread.
class CreateEntryHandlerTest : public ExtensionTest {
protected:
    void SetUp() override {
        ExtensionTest::SetUp();
        api().reply("POST", "/entries", {.status = 201, .body = R"({"id":5})"});
    }

    // Handles the intent and gives the events once the answer has come and
    // whatever follows it has run.
    std::vector<std::string> handle(const std::shared_ptr<CreateEntryIntent>& intent) {
        events_.clear();
        effects().clear();
        reloadsNoted_ = 0;
        auto handler = std::make_shared<CreateEntryIntentHandler>();
        handler->handle(intent, [this](std::shared_ptr<kestrova::CreateEntryIntentResponse> response) {
            EXPECT_EQ(response->userActivity(), nullptr);
            noteReloads();
            events_.push_back("answer " + std::to_string(response->platformCode()));
        });
        // Long enough for a reply of the largest size held, on a loaded machine under a sanitizer.
        MainLoop::iterateUntil([this] { return !events_.empty(); }, std::chrono::minutes(2));
        MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(50));
        noteReloads();
        return events_;
    }

    static headless::HeadlessEffects& effects() { return headless::HeadlessBackend::installed().effects(); }

    // A "reload" for each request for new widget timelines since the last look, so that the events
    // keep the order of the answer and the requests.
    void noteReloads() {
        for (const auto reloads = effects().linesStartingWith("widget timelines reloaded").size(); reloadsNoted_ < reloads;
             ++reloadsNoted_) {
            events_.push_back("reload");
        }
    }

    std::vector<std::string> events_;
    std::size_t reloadsNoted_ = 0;
};

TEST_F(CreateEntryHandlerTest, FailsAtOnceWithoutSendingWhenSomethingIsMissing) {
    struct Case {
        std::string label;
        bool signedIn;
        std::shared_ptr<CreateEntryIntent> intent;
    };
    const std::vector<Case> cases = {
        {"signed out", false, intentWith("Hello", "12", true)},
        {"no notes", true, intentWith(std::nullopt, "12", true)},
        {"no journal", true, intentWith("Hello", "12", true, false)},
        {"a journal without an identifier", true, intentWith("Hello", std::nullopt, true)},
        {"no private flag", true, intentWith("Hello", "12", std::nullopt)},
        {"empty notes and no file", true, intentWith("", "12", false)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        kestrova::sharedDefaults().removeObject("token");
        if (c.signedIn) {
            signIn();
        }
        const auto before = requestsTo("/entries");
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(handle(c.intent), std::vector<std::string>{"answer 5"});
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(requestsTo("/entries"), before);
    }
}

TEST_F(CreateEntryHandlerTest, ATokenThatWouldForgeAHeaderFailsWithTheReasonAndSendsNothing) {
    for (const auto& token : testing::forgingTokens) {
        SCOPED_TRACE(::testing::PrintToString(token));
        signIn(token);
        const auto before = requestsTo("/entries");
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(handle(intentWith("Hello", "12", true)), std::vector<std::string>{"answer 5"});
        EXPECT_THAT(::testing::internal::GetCapturedStderr(),
                    ::testing::HasSubstr("orvane: the entry cannot be sent: the token stored in"));
        EXPECT_EQ(requestsTo("/entries"), before);
    }
}

TEST_F(CreateEntryHandlerTest, PublishesThenAnswersThenReloadsTheWidgets) {
    signIn("s3cret");
    EXPECT_EQ(handle(intentWith("Hello", "12", true)), (std::vector<std::string>{"answer 4", "reload"}));
    const auto request = lastRequest();
    EXPECT_EQ(request.header("Cookie"), "token=s3cret");
    EXPECT_THAT(request.body, ::testing::HasSubstr("name=\"journal_id\"\r\n\r\n12\r\n"));
    EXPECT_THAT(request.body, ::testing::HasSubstr("name=\"notes\"\r\n\r\nHello\r\n"));
    EXPECT_THAT(request.body, ::testing::HasSubstr("name=\"private\"\r\n\r\ntrue\r\n"));
}

TEST_F(CreateEntryHandlerTest, SendsEmptyNotesWithAFile) {
    signIn();
    auto intent = intentWith("", "3", false);
    intent->setFile(std::make_shared<intents::File>(foundation::Data("PNG"), "dot.png", std::nullopt));
    EXPECT_EQ(handle(intent), (std::vector<std::string>{"answer 4", "reload"}));
    const auto request = lastRequest();
    EXPECT_THAT(request.body, ::testing::HasSubstr("name=\"notes\"\r\n\r\n\r\n"));
    // No type identifier: an empty content type.
    EXPECT_THAT(request.body, ::testing::HasSubstr("name=\"file\"; filename=\"dot.png\"\r\nContent-Type: \r\n\r\nPNG\r\n"));
}

TEST_F(CreateEntryHandlerTest, SendsTheJournalIdentifierAsANumberOrZero) {
    signIn();
    for (const auto& [identifier, sent] : std::vector<std::pair<std::string, std::string>>{
             {"12", "12"}, {"1 2", "0"}, {"abc", "0"}, {"", "0"}}) {
        SCOPED_TRACE(identifier);
        EXPECT_EQ(handle(intentWith("Hello", identifier, false)), (std::vector<std::string>{"answer 4", "reload"}));
        EXPECT_THAT(lastRequest().body, ::testing::HasSubstr("name=\"journal_id\"\r\n\r\n" + sent + "\r\n"));
    }
}

TEST_F(CreateEntryHandlerTest, ReadsJournalIdentifiersAsSignedDecimalIntegersOnly) {
    const std::vector<std::pair<std::string_view, std::int64_t>> cases = {
        {"12", 12},
        {"-3", -3},
        {"+5", 5},
        {"007", 7},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"-9223372036854775808", std::numeric_limits<std::int64_t>::min()},
        {"9223372036854775808", 0},
        {"", 0},
        {"+", 0},
        {"-", 0},
        {"+-1", 0},
        {" 12", 0},
        {"12 ", 0},
        {"1 2", 0},
        {"12a", 0},
        {"1.5", 0},
    };
    for (const auto& [identifier, id] : cases) {
        EXPECT_EQ(CreateEntryIntentHandler::journalId(identifier), id) << identifier;
    }
}

TEST_F(CreateEntryHandlerTest, AFailedUploadIsPrintedAndAnsweredAsAFailureWithoutAReload) {
    signIn();
    struct Case {
        Reply reply;
        std::string printed;
    };
    constexpr std::size_t largestReply = std::size_t{64} << 20;
    const std::string tooLarge =
        "URLSessionTask failed with error: The server's reply is larger than the largest reply allowed.\n";
    const std::vector<Case> cases = {
        // The server refused the entry: it is not published, whatever the body.
        {{.status = 500, .body = R"({"message":"Journal is archived."})"},
         "The entry was not published: the server answered with status 500: Journal is archived.\n"},
        {{.status = 403, .body = "<html>Forbidden</html>"},
         "The entry was not published: the server answered with status 403\n"},
        {{.status = 200, .body = "", .delay = {}, .fault = Reply::Fault::closeMidBody, .promisedLength = 100},
         "URLSessionTask failed with error: The network connection was lost.\n"},
        // A reply past the largest held ends the upload, whatever its status.
        {{.status = 201, .body = std::string(largestReply + 1, 'x')}, tooLarge},
        {Reply::endless(std::string(64 * 1024, '\0'), 4 * largestReply), tooLarge},
        {{.status = 201,
          .headers = {{"Content-Encoding", "gzip"}},
          .body = testsupport::encodedBody("gzip", std::string(std::size_t{1} << 20, '\0'), 128, "")},
         tooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printed + " after " + std::to_string(c.reply.body.size()) + " bytes");
        api().reply("POST", "/entries", c.reply);
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(handle(intentWith("Hello", "12", true)), std::vector<std::string>{"answer 5"});
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.printed);
    }
}

// The entry goes on only where a redirect promises to send it unchanged, and
// never in clear text; any other redirect fails the handling.
TEST_F(CreateEntryHandlerTest, ARedirectThatWouldDropTheEntryOrSendItInClearTextFails) {
    const testsupport::TLSIdentity identity({.alternativeNames = "IP:127.0.0.1"});
    testsupport::LoopbackServer secure(identity);
    const testsupport::ScratchDirectory files;
    const foundation::DevelopmentCertificateOverride trust(files.write("api.pem", identity.pem()).string(), {"127.0.0.1"});
    const kestrova::APIBaseURLOverride encrypted(*foundation::URL::fromString(secure.url("")));
    auto& plain = api();
    // The GET is what a followed 302 or 303 would land as.
    for (auto* landing : {&plain, &secure}) {
        landing->reply("POST", "/landing", {.status = 201, .body = R"({"id":5})"});
        landing->reply("GET", "/landing", {.status = 200, .body = R"({"id":5})"});
    }
    signIn();
    const auto refused = [](int status) {
        return "The server redirected the upload with status " + std::to_string(status) +
               "; only a 307 or 308 redirect, which sends the form on unchanged, is followed.\n";
    };
    struct Case {
        int status;
        testsupport::LoopbackServer* to;
        std::vector<std::string> events;
        std::string printed;
    };
    const std::vector<Case> cases = {
        {307, &plain, {"answer 5"},
         "URLSessionTask failed with error: The request was redirected from a secure connection to one that is not.\n"},
        {302, &plain, {"answer 5"}, refused(302)},
        {302, &secure, {"answer 5"}, refused(302)},
        {303, &secure, {"answer 5"}, refused(303)},
        {308, &secure, {"answer 4", "reload"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.status) + " to " + c.to->url("/landing"));
        secure.reply("POST", "/entries", Reply::redirect(c.status, c.to->url("/landing")));
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(handle(intentWith("Hello", "12", true)), c.events);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.printed);
    }
    EXPECT_EQ(requestsTo("/landing"), 0u);
    const auto landed = secure.requests();
    ASSERT_EQ(std::count_if(landed.begin(), landed.end(), [](const auto& r) { return r.path == "/landing"; }), 1);
    EXPECT_EQ(landed.back().method, "POST");
    EXPECT_THAT(landed.back().body, ::testing::HasSubstr("name=\"notes\"\r\n\r\nHello\r\n"));
}

TEST_F(CreateEntryHandlerTest, ResolvesEachParameterFromTheIntentAlone) {
    const auto resolve = [](auto call) {
        std::shared_ptr<const intents::ResolutionResult> result;
        call([&result](auto answer) { result = std::move(answer); });
        return result;
    };
    CreateEntryIntentHandler handler;
    using Kind = intents::ResolutionResult::Kind;
    struct Case {
        std::string label;
        std::shared_ptr<CreateEntryIntent> intent;
        Kind notes, journal, isPrivate;
    };
    auto withFile = intentWith("", "7", true);
    withFile->setFile(std::make_shared<intents::File>(foundation::Data("x"), "x.txt", "public.plain-text"));
    const std::vector<Case> cases = {
        {"everything given", intentWith("Hi", "7", false), Kind::success, Kind::success, Kind::success},
        {"nothing given", intentWith(std::nullopt, std::nullopt, std::nullopt, false), Kind::needsValue,
         Kind::needsValue, Kind::needsValue},
        {"empty notes without a file", intentWith("", "7", true), Kind::needsValue, Kind::success, Kind::success},
        {"empty notes with a file", withFile, Kind::success, Kind::success, Kind::success},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(resolve([&](auto done) { handler.resolveNotes(c.intent, done); })->kind(), c.notes);
        const auto journal = resolve([&](auto done) { handler.resolveJournal(c.intent, done); });
        EXPECT_EQ(journal->kind(), c.journal);
        EXPECT_EQ(journal->className(), "IntentJournalResolutionResult");
        if (c.journal == Kind::success) {
            EXPECT_EQ(std::dynamic_pointer_cast<const intents::ObjectResolutionResult>(journal)->object(),
                      c.intent->journal());
        }
        EXPECT_EQ(resolve([&](auto done) { handler.resolveIsPrivate(c.intent, done); })->kind(), c.isPrivate);
    }
}

}  // namespace
}  // namespace orvane
