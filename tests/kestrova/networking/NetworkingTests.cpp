#include "kestrova/networking/Networking.hpp"

#include "platform/runtime/foundation/core/SystemVersionOverride.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "tests/kestrova/networking/APICall.hpp"
#include "tests/kestrova/networking/APIServer.hpp"
#include "kestrova/networking/URLSessionBackport.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace kestrova {
namespace {

using testsupport::MainLoop;
using testsupport::LoopbackServer;
using testsupport::Reply;

using apitest::api;
using apitest::lastRequest;

constexpr const char* userJSON = R"({"id":42,"username":"ann","quietMode":true})";

template <typename Operation>
auto run(Operation operation) {
    return testsupport::runAPICall(std::move(operation));
}

using testsupport::apiErrorOf;

class NetworkingTest : public testing::TestWithParam<const char*> {
protected:
    // Each test runs on the newest system and on one without delegate calls.
    void SetUp() override { system_.emplace(*foundation::OperatingSystemVersion::fromString(GetParam())); }
    std::optional<foundation::SystemVersionOverride> system_;
};

INSTANTIATE_TEST_SUITE_P(Systems, NetworkingTest, testing::Values("14.0", "11.7.0"));

TEST_P(NetworkingTest, GetUserSendsABareGETWithTheCookie) {
    api().reply("GET", "/auth", {.status = 200, .body = userJSON});
    const User user = run([]() -> concurrency::Task<User> { co_return co_await Networking::getUser("t0k"); });
    EXPECT_EQ(user.username, foundation::Text("ann"));
    const auto request = lastRequest();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/auth");
    EXPECT_EQ(request.headerValues("Cookie"), std::vector<std::string>{"token=t0k"});
    EXPECT_EQ(request.header("Content-Type"), std::nullopt);
    EXPECT_EQ(request.header("Content-Length"), std::nullopt);
    EXPECT_EQ(request.body, "");
}

TEST_P(NetworkingTest, LogoutAndAnEmptyToken) {
    api().reply("GET", "/logout", {.status = 204});
    run([]() -> concurrency::Task<void> { co_await Networking::logout(""); });
    const auto request = lastRequest();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/logout");
    EXPECT_EQ(request.headerValues("Cookie"), std::vector<std::string>{"token="});
}

TEST_P(NetworkingTest, JSONCallsSendExactBodies) {
    api().reply("POST", "/users", {.status = 200, .body = userJSON});
    struct Case {
        std::optional<bool> quietMode;
        const char* body;
    };
    for (const Case c : {Case{std::nullopt, "{}"}, Case{true, R"({"quietMode":true})"}, Case{false, R"({"quietMode":false})"}}) {
        run([&]() -> concurrency::Task<User> { co_return co_await Networking::setQuietMode(c.quietMode, "t"); });
        const auto request = lastRequest();
        EXPECT_EQ(request.method, "POST");
        EXPECT_EQ(request.body, c.body);
        EXPECT_EQ(request.header("Content-Length"), std::to_string(std::string_view(c.body).size()));
        EXPECT_EQ(request.header("Content-Type"), "application/json");
        EXPECT_EQ(request.headerValues("Cookie"), std::vector<std::string>{"token=t"});
    }
}

TEST_P(NetworkingTest, CreateMetricDataSendsTheRecordAndDecodesTheReply) {
    const auto id = *foundation::UUID::fromString("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    const auto metricId = *foundation::UUID::fromString("0C247A3E-6E5F-495A-93FC-E621E1F8C36C");
    const MetricData data{.id = id, .unit = "km", .value = 5.5, .metricId = metricId, .entryId = 9};
    const std::string json = R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","unit":"km","value":5.5,)"
                             R"("metric_id":"0C247A3E-6E5F-495A-93FC-E621E1F8C36C","entry_id":9})";
    api().reply("POST", "/metric-data", {.status = 201, .body = json});
    const MetricData stored =
        run([&]() -> concurrency::Task<MetricData> { co_return co_await Networking::createMetricData(data, "t"); });
    EXPECT_EQ(stored, data);
    EXPECT_EQ(lastRequest().body, json);
    EXPECT_EQ(lastRequest().target, "/metric-data");
}

TEST_P(NetworkingTest, DeviceTokenRegistrationSucceedsOnAny2xx) {
    for (const char* body : {R"("")", R"("AAEC")", R"({"ok":true})", ""}) {
        api().reply("POST", "/auth/apn-device-token", {.status = 200, .body = body});
        EXPECT_NO_THROW(
            run([]() -> concurrency::Task<void> { co_await Networking::registerDeviceToken("0a1b", "t"); }))
            << body;
        EXPECT_EQ(lastRequest().body, R"({"token":"0a1b"})");
    }
    api().reply("POST", "/auth/apn-device-token", {.status = 401});
    EXPECT_EQ(apiErrorOf([]() -> concurrency::Task<void> { co_await Networking::registerDeviceToken("0a1b", "t"); })
                  .kind(),
              KestrovaAPIError::Case::unauthorized);
}

// The mapping itself, on responses made here: 1xx statuses never reach a
// caller over a real connection.
TEST(StatusMapping, StatusesMapToErrors) {
    using Case = KestrovaAPIError::Case;
    struct Row {
        int status;
        const char* body;
        std::optional<Case> error;  // none: the user decodes
        const char* description;
    };
    const Row rows[] = {
        {199, "", Case::serverError, "A server error with the code 199 occurred."},
        {200, userJSON, std::nullopt, ""},
        {299, userJSON, std::nullopt, ""},
        {300, userJSON, Case::serverError, "A server error with the code 300 occurred."},
        {200, "{}", Case::decodingError, "There was an error when decoding the response."},
        {200, "not json", Case::decodingError, "There was an error when decoding the response."},
        {400, R"({"message":"Bad slug"})", Case::badRequest, "Bad slug"},
        {400, "", Case::badRequest, "An unknown error occurred."},
        {401, R"({"message":"Session expired"})", Case::unauthorized, "Session expired"},
        {401, "", Case::unauthorized, "You are not authenticated."},
        {401, "<html>", Case::unauthorized, "You are not authenticated."},
        {401, R"({"error":"x"})", Case::unauthorized, "You are not authenticated."},
        {401, R"({"message":""})", Case::unauthorized, ""},
        {402, "", Case::paymentRequired, "You need a Kestrova+ subscription to perform this action."},
        {402, R"({"message":"Upgrade"})", Case::paymentRequired, "Upgrade"},
        {403, "", Case::forbidden, "You have no permission to access this resource."},
        {403, R"({"message":"No"})", Case::forbidden, "No"},
        {404, R"({"message":"Gone"})", Case::serverError, "A server error with the code 404 occurred."},
        {500, R"({"message":"Boom"})", Case::serverError, "A server error with the code 500 occurred."},
    };
    const auto url = *foundation::URL::fromString("https://api.kestrova.example/auth");
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.status) + " " + row.body);
        const foundation::HTTPURLResponse response(url, row.status, {});
        const foundation::Data body(row.body);
        if (!row.error) {
            EXPECT_EQ(Networking::validate<User>(body, response).id, 42);
            continue;
        }
        try {
            (void)Networking::validate<User>(body, response);
            ADD_FAILURE() << "validated";
        } catch (const KestrovaAPIError& error) {
            EXPECT_EQ(error.kind(), *row.error);
            EXPECT_STREQ(error.what(), row.description);
            EXPECT_EQ(error.code(), *row.error == Case::serverError ? row.status : 0);
        }
    }
}

TEST(StatusMapping, TheRawFormKeepsAnEmptyBody) {
    api().reply("GET", "/logout", {.status = 204});
    const auto reply = run([]() -> concurrency::Task<Networking::RawReply> {
        co_return co_await Networking::sendRaw(Networking::makeRequest("/logout", "t"));
    });
    EXPECT_EQ(reply.response->statusCode(), 204);
    EXPECT_TRUE(reply.body.empty());
}

TEST_P(NetworkingTest, RefusalsComeBackAsErrorsOverTheWire) {
    const auto getUser = []() -> concurrency::Task<User> { co_return co_await Networking::getUser("t"); };
    api().reply("GET", "/auth", {.status = 401, .body = R"({"message":"Session expired"})"});
    EXPECT_STREQ(apiErrorOf(getUser).what(), "Session expired");
    api().reply("GET", "/auth", {.status = 404});
    EXPECT_EQ(apiErrorOf(getUser).code(), 404);
}

TEST_P(NetworkingTest, TransportErrorsPassThroughUnchanged) {
    foundation::URLRequest request(
        *foundation::URL::fromString("http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/auth"));
    try {
        run([&]() -> concurrency::Task<User> { co_return co_await Networking::send<User>(request); });
        FAIL() << "a refused connection succeeded";
    } catch (const foundation::URLError& error) {
        EXPECT_EQ(error.code(), foundation::URLError::Code::cannotConnectToHost);
    }
}

TEST_P(NetworkingTest, AReplyThatIsNoHTTPReplyIsNoResponse) {
    const auto file = std::filesystem::temp_directory_path() / ("kestrova-user-" + std::to_string(getpid()) + ".json");
    std::ofstream(file) << userJSON;
    const foundation::URLRequest request(foundation::URL::fileURL(file.string()));
    EXPECT_EQ(apiErrorOf([&]() -> concurrency::Task<User> { co_return co_await Networking::send<User>(request); })
                  .kind(),
              KestrovaAPIError::Case::noResponse);
    std::filesystem::remove(file);
}

// The data call of systems without delegate calls.
class DataBackport : public testing::Test {};

TEST_F(DataBackport, ReturnsRepliesWhateverTheirStatus) {
    api().reply("GET", "/missing", {.status = 404, .body = "nope"});
    api().reply("GET", "/empty", {.status = 200});
    for (const auto& [path, body] : {std::pair{"/missing", "nope"}, std::pair{"/empty", ""}}) {
        foundation::URLRequest request(*foundation::URL::fromString(api().url(path)));
        const auto reply = run([&]() -> concurrency::Task<foundation::URLSessionReply> {
            co_return co_await data(foundation::URLSession::shared(), request);
        });
        EXPECT_EQ(reply.data.view(), body);
    }
}

TEST_F(DataBackport, CancellingDuringTheTransferThrowsTheCancellation) {
    api().reply("GET", "/stall", Reply::stalling());
    foundation::URLRequest request(*foundation::URL::fromString(api().url("/stall")));
    auto handle = concurrency::spawn(concurrency::MainActor::shared(), [&]() -> concurrency::Task<foundation::URLSessionReply> {
        co_return co_await data(foundation::URLSession::shared(), request);
    });
    // Long enough for the data task to exist and be under way.
    MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(300));
    handle.cancel();
    try {
        MainLoop::runUntilFinished(handle);
        FAIL() << "a cancelled transfer succeeded";
    } catch (const foundation::URLError& error) {
        EXPECT_EQ(error.code(), foundation::URLError::Code::cancelled);
    }
}

TEST_F(DataBackport, ACancellationBeforeTheTaskExistsIsLost) {
    api().reply("GET", "/early", {.status = 200, .body = "ran to its end"});
    foundation::URLRequest request(*foundation::URL::fromString(api().url("/early")));
    auto handle = concurrency::spawn(concurrency::MainActor::shared(), [&]() -> concurrency::Task<foundation::URLSessionReply> {
        co_return co_await data(foundation::URLSession::shared(), request);
    });
    handle.cancel();  // the task has not taken its first step yet
    EXPECT_EQ(MainLoop::runUntilFinished(handle).data.view(), "ran to its end");
}

TEST(DataBackportCompletion, MakesARepliesOfBodyAndResponseOnly) {
    const auto url = *foundation::URL::fromString("http://127.0.0.1/");
    const auto response = std::make_shared<const foundation::HTTPURLResponse>(url, 200, foundation::HTTPHeaderFields{});
    const foundation::URLError timedOut(foundation::URLError::Code::timedOut);

    EXPECT_EQ(replyOfCompletion(foundation::Data("x"), response, timedOut).data.view(), "x");
    const auto codeOf = [](auto&& call) {
        try {
            call();
        } catch (const foundation::URLError& error) {
            return error.code();
        }
        return foundation::URLError::Code::unknown;
    };
    EXPECT_EQ(codeOf([&] { replyOfCompletion(std::nullopt, response, timedOut); }), foundation::URLError::Code::timedOut);
    EXPECT_EQ(codeOf([&] { replyOfCompletion(foundation::Data("x"), nullptr, std::nullopt); }),
              foundation::URLError::Code::badServerResponse);
    EXPECT_EQ(codeOf([&] { replyOfCompletion(std::nullopt, nullptr, std::nullopt); }),
              foundation::URLError::Code::badServerResponse);
}

}  // namespace
}  // namespace kestrova
