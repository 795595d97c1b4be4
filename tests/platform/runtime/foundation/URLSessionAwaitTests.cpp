#include "tests/platform/runtime/foundation/RecordingDelegate.hpp"
#include "tests/platform/runtime/foundation/TemporaryFolder.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/foundation/http/HTTPURLResponse.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <optional>
#include <string>
#include <thread>

namespace foundation {
namespace {

using concurrency::MainActor;
using concurrency::Task;
using testsupport::MainLoop;
using testsupport::LoopbackServer;
using testsupport::Reply;

URLRequest requestTo(const std::string& url, const char* method = "GET") {
    const auto parsed = URL::fromString(url);
    EXPECT_TRUE(parsed.has_value()) << url;
    URLRequest request(*parsed);
    request.setHTTPMethod(method);
    return request;
}

URL fileURLOf(const std::filesystem::path& path) {
    return *URL::fromString("file://" + path.string());
}

// How an awaited call ended, as its caller on the main actor saw it.
struct Outcome {
    std::optional<URLSessionReply> reply;
    std::optional<URLError> error;
    bool resumedOnMainThread = false;
};

using Call = std::function<Task<URLSessionReply>()>;

concurrency::TaskHandle<Outcome> spawnOnMainActor(Call call) {
    return concurrency::spawn(MainActor::shared(), [call = std::move(call)]() -> Task<Outcome> {
        Outcome outcome;
        try {
            outcome.reply = co_await call();
        } catch (const URLError& error) {
            outcome.error = error;
        }
        outcome.resumedOnMainThread = MainActor::isMainThread();
        co_return outcome;
    });
}

Outcome awaitOnMainActor(Call call) {
    return MainLoop::runUntilFinished(spawnOnMainActor(std::move(call)));
}

const HTTPURLResponse* httpResponse(const Outcome& outcome) {
    return dynamic_cast<const HTTPURLResponse*>(outcome.reply->response.get());
}

TEST(URLSessionAwait, RepliesOfEveryStatusComeBackToTheMainActor) {
    const TemporaryFolder folder;
    const auto bodyFile = folder.write("body.bin", "file bytes");
    LoopbackServer server;
    server.reply("GET", "/item", {.status = 200, .body = "item"});
    server.reply("GET", "/gone", {.status = 404, .body = "not here"});
    server.reply("GET", "/empty", {.status = 204});
    server.reply("POST", "/echo", {.status = 201, .body = "made"});
    server.reply("POST", "/upload", {.status = 200, .body = "stored"});

    auto post = requestTo(server.url("/echo"), "POST");
    post.setHTTPBody(Data("payload"));
    auto upload = requestTo(server.url("/upload"), "POST");
    upload.setHTTPBody(Data("not sent: the file is the body"));

    struct Case {
        std::string name;
        Call call;
        int status;
        std::string body;
        std::string sentMethod;
        std::string sentBody;
    };
    const Case cases[] = {
        {"a body", [&] { return URLSession::shared().data(requestTo(server.url("/item"))); }, 200, "item",
         "GET", ""},
        {"a refusal with a body", [&] { return URLSession::shared().data(requestTo(server.url("/gone"))); },
         404, "not here", "GET", ""},
        {"no body", [&] { return URLSession::shared().data(requestTo(server.url("/empty"))); }, 204, "",
         "GET", ""},
        {"the request's body", [&] { return URLSession::shared().data(post); }, 201, "made", "POST",
         "payload"},
        {"a file's bytes", [&] { return URLSession::shared().upload(upload, fileURLOf(bodyFile)); }, 200,
         "stored", "POST", "file bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto outcome = awaitOnMainActor(c.call);
        ASSERT_FALSE(outcome.error) << outcome.error->what();
        EXPECT_TRUE(outcome.resumedOnMainThread);
        ASSERT_TRUE(httpResponse(outcome));
        EXPECT_EQ(httpResponse(outcome)->statusCode(), c.status);
        EXPECT_EQ(outcome.reply->data.view(), c.body);
        const auto sent = server.requests().back();
        EXPECT_EQ(sent.method, c.sentMethod);
        EXPECT_EQ(sent.body, c.sentBody);
    }
}

TEST(URLSessionAwait, AFileURLGivesAPlainResponse) {
    const TemporaryFolder folder;
    const auto path = folder.write("note.txt", "hello file");
    const auto outcome =
        awaitOnMainActor([&] { return URLSession::shared().data(URLRequest(fileURLOf(path))); });
    ASSERT_FALSE(outcome.error) << outcome.error->what();
    EXPECT_EQ(outcome.reply->data.view(), "hello file");
    ASSERT_TRUE(outcome.reply->response);
    EXPECT_FALSE(httpResponse(outcome));
    EXPECT_EQ(outcome.reply->response->url(), fileURLOf(path));
}

TEST(URLSessionAwait, TransportFailuresThrowTheirURLError) {
    const TemporaryFolder folder;
    LoopbackServer server;
    server.reply("GET", "/stall", Reply::stalling());
    server.reply("POST", "/upload", {.status = 200});
    auto stalled = requestTo(server.url("/stall"));
    stalled.setTimeoutInterval(1);
    const auto refused = "http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/";

    struct Case {
        std::string name;
        Call call;
        URLError::Code expected;
    };
    const Case cases[] = {
        {"refused", [&] { return URLSession::shared().data(requestTo(refused)); },
         URLError::Code::cannotConnectToHost},
        {"stalled past the time-out", [&] { return URLSession::shared().data(stalled); },
         URLError::Code::timedOut},
        {"unsupported scheme", [&] { return URLSession::shared().data(requestTo("ftp://127.0.0.1/file")); },
         URLError::Code::unsupportedURL},
        {"missing body file",
         [&] {
             return URLSession::shared().upload(requestTo(server.url("/upload"), "POST"),
                                                fileURLOf(folder.path() / "missing.bin"));
         },
         URLError::Code::fileDoesNotExist},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto outcome = awaitOnMainActor(c.call);
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->code(), c.expected) << outcome.error->what();
        EXPECT_FALSE(outcome.reply);
        EXPECT_TRUE(outcome.resumedOnMainThread);
    }
    // The stalled request is the only one that reached the server.
    EXPECT_EQ(server.requests().size(), 1U);
}

// A data call and an upload, both to a path that never answers.
struct CancelCase {
    std::string name;
    std::function<Call(const LoopbackServer&, const URL&)> call;
};

const CancelCase cancelCases[] = {
    {"data",
     [](const LoopbackServer& server, const URL&) -> Call {
         return [&server] { return URLSession::shared().data(requestTo(server.url("/stall"))); };
     }},
    {"upload",
     [](const LoopbackServer& server, const URL& file) -> Call {
         return [&server, file] {
             return URLSession::shared().upload(requestTo(server.url("/stall"), "POST"), file);
         };
     }},
};

class URLSessionAwaitCancel : public testing::Test {
protected:
    URLSessionAwaitCancel() {
        // A request that arrives wakes the main loop, which the test iterates until it has.
        const auto stallAndWake = [](const testsupport::RecordedRequest&) {
            concurrency::MainActor::shared().enqueue([] {});
            return Reply::stalling();
        };
        server_.handle("GET", "/stall", stallAndWake);
        server_.handle("POST", "/stall", stallAndWake);
        server_.reply("GET", "/settle", {.status = 200});
    }

    [[nodiscard]] Call call(const CancelCase& c) const { return c.call(server_, bodyFile_); }

    // Once a later request has passed through the session, anything the cancelled call would have sent
    // has been sent.
    void settle() {
        const auto outcome =
            awaitOnMainActor([this] { return URLSession::shared().data(requestTo(server_.url("/settle"))); });
        ASSERT_FALSE(outcome.error);
    }

    static void expectCancelled(const Outcome& outcome) {
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->code(), URLError::Code::cancelled);
        EXPECT_FALSE(outcome.reply);
        EXPECT_TRUE(outcome.resumedOnMainThread);
    }

    TemporaryFolder folder_;
    const URL bodyFile_ = fileURLOf(folder_.write("body.bin", "file bytes"));
    LoopbackServer server_;
};

TEST_F(URLSessionAwaitCancel, DuringTheTransferThrowsCancelled) {
    for (const auto& c : cancelCases) {
        SCOPED_TRACE(c.name);
        const auto requestsBefore = server_.requests().size();
        const auto handle = spawnOnMainActor(call(c));
        ASSERT_TRUE(MainLoop::iterateUntil([&] { return server_.requests().size() > requestsBefore; }));
        handle.cancel();
        expectCancelled(MainLoop::runUntilFinished(handle));
    }
}

TEST_F(URLSessionAwaitCancel, BeforeTheTransferStartsSendsNothing) {
    for (const auto& c : cancelCases) {
        SCOPED_TRACE(c.name);
        const auto handle = spawnOnMainActor(call(c));
        // The task has not taken its first step yet: that waits for the main loop.
        handle.cancel();
        expectCancelled(MainLoop::runUntilFinished(handle));
    }
    settle();
    const auto received = server_.requests();
    ASSERT_EQ(received.size(), 1U);
    EXPECT_EQ(received[0].path, "/settle");
}

TEST_F(URLSessionAwaitCancel, DestroyingTheSessionEndsTheCallAsCancelled) {
    auto session = std::make_unique<URLSession>();
    const auto handle = spawnOnMainActor(
        [this, &session] { return session->data(requestTo(server_.url("/stall"))); });
    ASSERT_TRUE(MainLoop::iterateUntil([&] { return !server_.requests().empty(); }));
    session.reset();
    expectCancelled(MainLoop::runUntilFinished(handle));
}

TEST(URLSessionAwait, UploadReportsProgressOnTheSessionThreadWhileTheCallerWaitsOnTheMainThread) {
    const TemporaryFolder folder;
    std::string contents(4 * 1024 * 1024, '\0');
    std::iota(contents.begin(), contents.end(), 'a');
    const auto path = folder.write("body.tmp", contents);
    LoopbackServer server;
    server.reply("POST", "/entries/create", {.status = 200, .body = "{}"});
    const auto delegate = std::make_shared<RecordingDelegate>();
    const auto mainThread = std::this_thread::get_id();

    const auto outcome = awaitOnMainActor([&] {
        return URLSession::shared().upload(requestTo(server.url("/entries/create"), "POST"), fileURLOf(path),
                                           delegate);
    });
    ASSERT_FALSE(outcome.error) << outcome.error->what();
    EXPECT_TRUE(outcome.resumedOnMainThread);
    EXPECT_EQ(outcome.reply->data.view(), "{}");
    EXPECT_TRUE(server.requests().at(0).body == contents);

    const auto reports = delegate->reports();
    ASSERT_GT(reports.size(), 1U);
    std::int64_t previous = 0;
    for (const auto& report : reports) {
        EXPECT_NE(report.thread, mainThread);
        EXPECT_EQ(report.thread, reports.front().thread);
        EXPECT_EQ(report.totalBytesSent, previous + report.bytesSent);
        EXPECT_EQ(report.totalBytesExpected, static_cast<std::int64_t>(contents.size()));
        previous = report.totalBytesSent;
    }
    EXPECT_EQ(previous, static_cast<std::int64_t>(contents.size()));
}

}  // namespace
}  // namespace foundation
