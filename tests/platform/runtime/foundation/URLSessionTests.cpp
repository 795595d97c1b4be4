#include "tests/platform/runtime/foundation/CompletionProbe.hpp"
#include "tests/platform/runtime/foundation/RecordingDelegate.hpp"
#include "tests/platform/runtime/foundation/TemporaryFolder.hpp"

#include "platform/runtime/foundation/http/HTTPURLResponse.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "platform/runtime/foundation/http/URLSessionTaskDelegate.hpp"
#include "tests/support/ContentCoding.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/RawReplyServer.hpp"
#include "tests/support/ResidentMemory.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <numeric>

#include <fcntl.h>
#include <unistd.h>

namespace foundation {
namespace {

using testsupport::encodedBody;
using testsupport::LoopbackServer;
using testsupport::RawReplyServer;
using testsupport::Reply;

URLRequest requestTo(const std::string& url) {
    const auto parsed = URL::fromString(url);
    EXPECT_TRUE(parsed.has_value()) << url;
    return URLRequest(*parsed);
}

CompletionProbe::Outcome perform(URLRequest request) {
    CompletionProbe probe;
    probe.dataTask(URLSession::shared(), std::move(request))->resume();
    return probe.wait();
}

const HTTPURLResponse* httpResponse(const CompletionProbe::Outcome& outcome) {
    return dynamic_cast<const HTTPURLResponse*>(outcome.response.get());
}

std::string fileURLOf(const std::filesystem::path& path) {
    return "file://" + path.string();
}

TEST(URLSessionRequests, SendMethodsAndBodiesAsGiven) {
    LoopbackServer server;
    for (const char* method : {"GET", "HEAD", "POST", "PUT", "PATCH", "DELETE"}) {
        server.reply(method, "/echo", {.status = 200, .body = "ok"});
    }
    struct Case {
        std::optional<std::string> method;
        std::optional<std::string> body;
        std::string sentMethod;
        std::optional<std::string> sentLength;
        std::string replyBody;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, "GET", std::nullopt, "ok"},
        {"GET", std::nullopt, "GET", std::nullopt, "ok"},
        {"HEAD", std::nullopt, "HEAD", std::nullopt, ""},
        {"POST", R"({"quietMode":true})", "POST", "18", "ok"},
        {"POST", "{}", "POST", "2", "ok"},
        {"POST", std::nullopt, "POST", "0", "ok"},
        {"PUT", "replace", "PUT", "7", "ok"},
        {"PATCH", "", "PATCH", "0", "ok"},
        {"DELETE", std::nullopt, "DELETE", std::nullopt, "ok"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sentMethod + " " + c.body.value_or("(no body)"));
        auto request = requestTo(server.url("/echo"));
        request.setHTTPMethod(c.method);
        if (c.body) {
            request.setHTTPBody(Data(*c.body));
            request.setValue("application/json", "Content-Type");
        }
        const auto outcome = perform(request);
        ASSERT_FALSE(outcome.error) << outcome.error->what();
        ASSERT_TRUE(httpResponse(outcome));
        EXPECT_EQ(httpResponse(outcome)->statusCode(), 200);
        EXPECT_EQ(outcome.data->view(), c.replyBody);

        const auto received = server.requests().back();
        EXPECT_EQ(received.method, c.sentMethod);
        EXPECT_EQ(received.body, c.body.value_or(""));
        EXPECT_EQ(received.header("Content-Length"), c.sentLength);
        // No media type is made up for a body that was given none.
        EXPECT_EQ(received.header("Content-Type"), c.body ? std::optional<std::string>("application/json")
                                                          : std::nullopt);
        EXPECT_FALSE(received.header("Expect"));
    }
}

// The request exactly as it went out, one line per field.
std::vector<std::string> headerLines(const std::string& request) {
    std::vector<std::string> lines;
    std::size_t start = request.find("\r\n") + 2;
    for (std::size_t end = request.find("\r\n", start); end != std::string::npos && end > start;
         start = end + 2, end = request.find("\r\n", start)) {
        lines.push_back(request.substr(start, end - start));
    }
    return lines;
}

TEST(URLSessionRequests, SendHeaderFieldsAsAddedAndSet) {
    RawReplyServer server("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
    auto request = requestTo(server.url("/fields"));
    request.addValue("token=abc", "Cookie");
    request.addValue("theme=dark", "cookie");
    request.setValue("first", "X-Replaced");
    request.setValue("second", "x-replaced");
    request.setValue("gone", "X-Removed");
    request.setValue(std::nullopt, "X-Removed");
    request.setValue("", "X-Empty");
    // The body decides the length, and nothing waits for "100 Continue".
    request.setHTTPMethod("POST");
    request.setHTTPBody(Data("abc"));
    request.setValue("999", "Content-Length");
    request.setValue("100-continue", "Expect");

    const auto outcome = perform(request);
    ASSERT_FALSE(outcome.error) << outcome.error->what();
    ASSERT_EQ(server.requests().size(), 1u);
    const auto lines = headerLines(server.requests()[0]);
    const auto has = [&lines](const std::string& line) { return std::ranges::count(lines, line) == 1; };
    EXPECT_TRUE(has("Cookie: token=abc,theme=dark"));
    EXPECT_TRUE(has("X-Replaced: second"));
    EXPECT_TRUE(has("X-Empty:"));
    EXPECT_TRUE(has("Content-Length: 3"));
    const auto named = [&lines](std::string_view prefix) {
        return std::ranges::count_if(lines,
                                     [prefix](const std::string& line) { return line.starts_with(prefix); });
    };
    EXPECT_EQ(named("Cookie:"), 1);
    EXPECT_EQ(named("X-Replaced:"), 1);
    EXPECT_EQ(named("X-Removed:"), 0);
    EXPECT_EQ(named("Expect:"), 0);
    EXPECT_EQ(named("Content-Type:"), 0);
}

TEST(URLSessionReplies, EveryStatusIsAReplyWithItsBody) {
    LoopbackServer server;
    struct Case {
        int status;
        std::string body;
    };
    const Case cases[] = {
        {200, R"({"id":1})"}, {200, ""}, {204, ""}, {404, R"({"message":"gone"})"}, {500, "oops"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.status) + " " + c.body);
        server.reply("GET", "/status", {.status = c.status, .body = c.body});
        const auto outcome = perform(requestTo(server.url("/status")));
        ASSERT_FALSE(outcome.error) << outcome.error->what();
        ASSERT_TRUE(outcome.data.has_value());
        EXPECT_EQ(outcome.data->view(), c.body);
        ASSERT_TRUE(httpResponse(outcome));
        EXPECT_EQ(httpResponse(outcome)->statusCode(), c.status);
    }
}

TEST(URLSessionReplies, ResponseCarriesTheFinalURLAndItsFields) {
    LoopbackServer server;
    server.reply("GET", "/old", Reply::redirect(302, "/new?page=1"));
    server.reply("GET", "/new", {.status = 200,
                                 .headers = {{"Content-Type", "Text/Plain; charset=utf-8"},
                                             {"X-Trace", "a"},
                                             {"X-Trace", "b"}},
                                 .body = "12345"});
    const auto outcome = perform(requestTo(server.url("/old")));
    ASSERT_FALSE(outcome.error) << outcome.error->what();
    const auto* response = httpResponse(outcome);
    ASSERT_TRUE(response);
    EXPECT_EQ(response->url().absoluteString(), server.url("/new?page=1"));
    EXPECT_EQ(response->value("x-trace"), "a, b");
    EXPECT_EQ(response->mimeType(), "text/plain");
    EXPECT_EQ(response->expectedContentLength(), 5);
    // The redirect's own fields are not the reply's.
    EXPECT_FALSE(response->value("Location"));
}

TEST(URLSessionRedirects, TheCookieGoesToTheSameHostOnly) {
    LoopbackServer first;
    LoopbackServer other("127.0.0.2");
    first.reply("GET", "/same", Reply::redirect(302, "/landing"));
    first.reply("GET", "/away", Reply::redirect(302, other.url("/landing")));
    first.reply("GET", "/landing", {.status = 200});
    other.reply("GET", "/landing", {.status = 200});

    for (const std::string path : {"/same", "/away"}) {
        auto request = requestTo(first.url(path));
        request.addValue("token=secret", "Cookie");
        request.setValue("kept", "X-Other");
        const auto outcome = perform(request);
        ASSERT_FALSE(outcome.error) << outcome.error->what();
        EXPECT_EQ(httpResponse(outcome)->statusCode(), 200);
    }
    const auto landedHere = first.requests().at(1);
    EXPECT_EQ(landedHere.target, "/landing");
    EXPECT_EQ(landedHere.header("Cookie"), "token=secret");
    const auto landedThere = other.requests().at(0);
    EXPECT_EQ(landedThere.target, "/landing");
    EXPECT_FALSE(landedThere.header("Cookie"));
    EXPECT_EQ(landedThere.header("X-Other"), "kept");
}

TEST(URLSessionRedirects, PostTurnsIntoGetExceptOnTemporaryAndPermanentRedirects) {
    LoopbackServer server;
    server.reply("GET", "/target", {.status = 200});
    server.reply("POST", "/target", {.status = 200});
    struct Case {
        int status;
        std::string method;
        std::string body;
    };
    const Case cases[] = {{301, "GET", ""}, {302, "GET", ""}, {303, "GET", ""}, {307, "POST", "payload"},
                          {308, "POST", "payload"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        const std::string from = "/from-" + std::to_string(c.status);
        server.reply("POST", from, Reply::redirect(c.status, "/target"));
        auto request = requestTo(server.url(from));
        request.setHTTPMethod("POST");
        request.setHTTPBody(Data("payload"));
        const auto outcome = perform(request);
        ASSERT_FALSE(outcome.error) << outcome.error->what();
        const auto landed = server.requests().back();
        EXPECT_EQ(landed.path, "/target");
        EXPECT_EQ(landed.method, c.method);
        EXPECT_EQ(landed.body, c.body);
    }
}

TEST(URLSessionFailures, TransportFailuresCompleteWithTheirURLError) {
    LoopbackServer server;
    server.reply("GET", "/stall", Reply::stalling());
    server.reply("GET", "/cut", Reply::closingMidBody("the first part", 10000));
    server.reply("GET", "/loop", Reply::redirect(302, "/loop"));
    RawReplyServer garbage("this is no HTTP at all\r\n\r\n");
    RawReplyServer brokenStatus("HTTP/1.1 abc\r\n\r\n");
    RawReplyServer silent("");

    struct Case {
        std::string name;
        std::string url;
        URLError::Code expected;
    };
    const Case cases[] = {
        {"refused", "http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/",
         URLError::Code::cannotConnectToHost},
        {"stalled past the time-out", server.url("/stall"), URLError::Code::timedOut},
        {"closed mid-reply", server.url("/cut"), URLError::Code::networkConnectionLost},
        {"closed without a reply", silent.url("/"), URLError::Code::networkConnectionLost},
        {"garbage", garbage.url("/"), URLError::Code::badServerResponse},
        {"broken status line", brokenStatus.url("/"), URLError::Code::badServerResponse},
        {"redirect loop", server.url("/loop"), URLError::Code::httpTooManyRedirects},
        {"unsupported scheme", "ftp://127.0.0.1/file", URLError::Code::unsupportedURL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto request = requestTo(c.url);
        request.setTimeoutInterval(1);
        const auto outcome = perform(request);
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->code(), c.expected) << outcome.error->what();
        EXPECT_FALSE(outcome.data);
        EXPECT_FALSE(outcome.response);
    }
}

TEST(URLSessionReplies, DecodeEveryCodingAskedFor) {
    const std::string piece = R"({"id":1,"text":"h\u00e9llo w\u00f6rld"},)";
    std::string whole;
    for (int i = 0; i < 1000; ++i) {
        whole += piece;
    }
    for (const std::string coding : {"gzip", "deflate", "br", "zstd"}) {
        SCOPED_TRACE(coding);
        const auto body = encodedBody(coding, piece, 1000, "");
        RawReplyServer server("HTTP/1.1 200 OK\r\nContent-Encoding: " + coding +
                              "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
        const auto outcome = perform(requestTo(server.url("/")));
        ASSERT_FALSE(outcome.error) << outcome.error->what();
        EXPECT_TRUE(outcome.data->view() == whole);
        ASSERT_EQ(server.requests().size(), 1u);
        EXPECT_NE(server.requests()[0].find(coding), std::string::npos) << "not asked for";
    }
}

// A few kilobytes can decode to gigabytes, all of it held in memory; a
// request may lower the session's largest reply, never raise it.
TEST(URLSessionReplies, ABodyThatDecodesPastTheLargestReplyFails) {
    constexpr std::size_t mebibyte = 1 << 20;
    constexpr std::size_t largest = URLRequest::defaultLargestReplyLength / mebibyte;
    constexpr std::size_t lowered = 8;
    const std::string zeros(mebibyte, '\0');
    struct Case {
        std::string coding;
        std::size_t mebibytes;
        std::string tail;
        // The request's largest reply in MiB; none: the default.
        std::optional<std::size_t> requestLargest;
        bool fits;
    };
    const Case cases[] = {
        {"gzip", largest, "", std::nullopt, true},
        {"gzip", largest, "x", std::nullopt, false},
        {"deflate", 2 * largest, "", std::nullopt, false},
        {"br", 2 * largest, "", std::nullopt, false},
        {"zstd", 2 * largest, "", std::nullopt, false},
        {"identity", largest, "x", std::nullopt, false},
        {"identity", lowered, "", lowered, true},
        {"identity", lowered, "x", lowered, false},
        {"gzip", 2 * largest, "", lowered, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.coding + " " + std::to_string(c.mebibytes) + " MiB + " + std::to_string(c.tail.size()) +
                     " against " + std::to_string(c.requestLargest.value_or(largest)) + " MiB");
        const auto body = encodedBody(c.coding, zeros, c.mebibytes, c.tail);
        RawReplyServer server("HTTP/1.1 200 OK\r\nContent-Encoding: " + c.coding +
                              "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
        auto request = requestTo(server.url("/"));
        if (c.requestLargest) {
            request.setLargestReplyLength(*c.requestLargest * mebibyte);
        }
        const auto outcome = perform(request);
        if (c.fits) {
            ASSERT_FALSE(outcome.error) << outcome.error->what();
            EXPECT_EQ(outcome.data->size(), c.mebibytes * mebibyte + c.tail.size());
        } else {
            ASSERT_TRUE(outcome.error);
            EXPECT_EQ(outcome.error->code(), URLError::Code::dataLengthExceedsMaximum) << outcome.error->what();
            EXPECT_FALSE(outcome.data);
        }
    }
}

// The time-out is the longest the transfer may go without sending or
// receiving anything, not a rate: a reply that keeps coming, however slowly,
// or a body that the server keeps taking, never times out, and a stall
// times out when the interval is up. The cases run side by side.
TEST(URLSessionTimeOut, CountsFromTheLastByteSentOrReceived) {
    using std::chrono::milliseconds;
    using Piece = RawReplyServer::Piece;
    const std::string half(1 << 20, 'x');
    const std::string largeBody(12 << 20, 'y');
    struct Case {
        std::string name;
        std::vector<Piece> reply;
        std::optional<RawReplyServer::ReadPace> readPace;
        std::optional<std::string> body;
        double timeout;
        // The body received, or nothing when the transfer must time out.
        std::optional<std::string> received;
    };
    const Case cases[] = {
        {"one byte at a time, each well within the time-out",
         {{milliseconds(0), "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n"},
          {milliseconds(1300), "a"},
          {milliseconds(1300), "b"},
          {milliseconds(1300), "c"},
          {milliseconds(1300), "d"}},
         std::nullopt, std::nullopt, 2.0, "abcd"},
        {"header fields one line at a time",
         {{milliseconds(700), "HTTP/1.1 200 OK\r\n"},
          {milliseconds(700), "X-A: 1\r\n"},
          {milliseconds(700), "Content-Length: 2\r\n"},
          {milliseconds(700), "\r\n"},
          {milliseconds(700), "ok"}},
         std::nullopt, std::nullopt, 1.5, "ok"},
        {"a body taken slowly for longer than the time-out",
         {{milliseconds(0), "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\ntook"}},
         RawReplyServer::ReadPace{64 << 10, milliseconds(16)}, largeBody, 1.5, "took"},
        {"a reply that stalls half-way",
         {{milliseconds(0), "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(2 * half.size()) + "\r\n\r\n"},
          {milliseconds(0), half},
          {milliseconds(2500), half}},
         std::nullopt, std::nullopt, 1.0, std::nullopt},
        {"no reply to a body that was taken",
         {{milliseconds(2500), "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"}},
         RawReplyServer::ReadPace{64 << 10, milliseconds(0)}, "body", 1.0, std::nullopt},
    };
    std::vector<std::unique_ptr<RawReplyServer>> servers;
    std::vector<std::unique_ptr<CompletionProbe>> probes;
    for (const auto& c : cases) {
        servers.push_back(std::make_unique<RawReplyServer>(c.reply, c.readPace));
        probes.push_back(std::make_unique<CompletionProbe>());
        auto request = requestTo(servers.back()->url("/"));
        request.setTimeoutInterval(c.timeout);
        if (c.body) {
            request.setHTTPMethod("POST");
            request.setHTTPBody(Data(*c.body));
        }
        probes.back()->dataTask(URLSession::shared(), request)->resume();
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(c.name);
        const auto outcome = probes[i]->wait();
        if (c.received) {
            EXPECT_FALSE(outcome.error) << outcome.error->errorCode();
            EXPECT_EQ(outcome.data.value_or(Data()).view(), *c.received);
        } else if (!outcome.error) {
            ADD_FAILURE() << "the transfer succeeded";
        } else {
            EXPECT_EQ(outcome.error->code(), URLError::Code::timedOut) << outcome.error->errorCode();
        }
    }
}

TEST(URLSessionCancel, BeforeResumeCompletesCancelledAndSendsNothing) {
    LoopbackServer server;
    server.reply("GET", "/never", {.status = 200});
    CompletionProbe probe;
    const auto task = probe.dataTask(URLSession::shared(), requestTo(server.url("/never")));
    task->cancel();
    task->resume();
    task->cancel();
    const auto outcome = probe.wait();
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code(), URLError::Code::cancelled);
    EXPECT_NE(outcome.thread, std::this_thread::get_id());

    // A later request has passed through the session once it completes.
    ASSERT_FALSE(perform(requestTo(server.url("/settle"))).error);
    EXPECT_EQ(probe.calls(), 1);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].path, "/settle");
}

TEST(URLSessionCancel, DuringAStalledTransferCompletesCancelledOnce) {
    LoopbackServer server;
    server.reply("GET", "/stall", Reply::stalling());
    CompletionProbe probe;
    const auto task = probe.dataTask(URLSession::shared(), requestTo(server.url("/stall")));
    task->resume();
    while (server.requests().empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    task->cancel();
    task->cancel();
    const auto outcome = probe.wait();
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code(), URLError::Code::cancelled);
    EXPECT_FALSE(outcome.response);

    ASSERT_FALSE(perform(requestTo(server.url("/settle"))).error);
    EXPECT_EQ(probe.calls(), 1);
}

TEST(URLSessionCancel, AfterCompletionAndASecondResumeChangeNothing) {
    LoopbackServer server;
    server.reply("GET", "/once", {.status = 200, .body = "done"});
    CompletionProbe probe;
    const auto task = probe.dataTask(URLSession::shared(), requestTo(server.url("/once")));
    task->resume();
    const auto outcome = probe.wait();
    task->resume();
    task->cancel();
    ASSERT_FALSE(outcome.error);
    EXPECT_EQ(outcome.data->view(), "done");

    ASSERT_FALSE(perform(requestTo(server.url("/settle"))).error);
    EXPECT_EQ(probe.calls(), 1);
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST(URLSessionFiles, ReadsAFileURLWithAPlainResponse) {
    const TemporaryFolder folder;
    const auto path = folder.write("note.txt", "hello file");
    const auto outcome = perform(requestTo(fileURLOf(path)));
    ASSERT_FALSE(outcome.error) << outcome.error->what();
    EXPECT_EQ(outcome.data->view(), "hello file");
    ASSERT_TRUE(outcome.response);
    EXPECT_FALSE(httpResponse(outcome));
    EXPECT_EQ(outcome.response->url().absoluteString(), fileURLOf(path));
    EXPECT_EQ(outcome.response->expectedContentLength(), 10);
    EXPECT_EQ(outcome.response->mimeType(), "text/plain");
}

TEST(URLSessionFiles, UnreadableFilesFail) {
    const TemporaryFolder folder;
    const auto existing = folder.write("body.bin", "bytes");
    LoopbackServer server;
    server.reply("POST", "/upload", {.status = 200});
    struct Case {
        std::string name;
        std::filesystem::path file;
        URLError::Code expected;
    };
    const Case cases[] = {
        {"missing", folder.path() / "missing.txt", URLError::Code::fileDoesNotExist},
        {"below a file", existing / "inner.txt", URLError::Code::fileDoesNotExist},
        {"a folder", folder.path(), URLError::Code::fileIsDirectory},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = perform(requestTo(fileURLOf(c.file)));
        ASSERT_TRUE(read.error);
        EXPECT_EQ(read.error->code(), c.expected);

        CompletionProbe probe;
        auto request = requestTo(server.url("/upload"));
        request.setHTTPMethod("POST");
        const auto file = *URL::fromString(fileURLOf(c.file));
        probe.uploadTask(URLSession::shared(), request, file)->resume();
        const auto upload = probe.wait();
        ASSERT_TRUE(upload.error);
        EXPECT_EQ(upload.error->code(), c.expected);
    }
    EXPECT_TRUE(server.requests().empty());
}

TEST(URLSessionUpload, StreamsTheFileAndReportsGrowingProgressOffTheMainThread) {
    const TemporaryFolder folder;
    std::string contents(4 * 1024 * 1024, '\0');
    std::iota(contents.begin(), contents.end(), 'a');
    const auto path = folder.write("body.tmp", contents);
    LoopbackServer server;
    server.reply("POST", "/entries/create", {.status = 200, .body = "{}"});

    auto request = requestTo(server.url("/entries/create"));
    request.setHTTPMethod("POST");
    request.setValue("multipart/form-data; boundary=b", "Content-Type");
    request.setHTTPBody(Data("not sent: the file is the body"));
    const auto delegate = std::make_shared<RecordingDelegate>();
    CompletionProbe probe;
    const auto file = *URL::fromString(fileURLOf(path));
    probe.uploadTask(URLSession::shared(), request, file, delegate)->resume();
    const auto outcome = probe.wait();
    ASSERT_FALSE(outcome.error) << outcome.error->what();
    EXPECT_EQ(httpResponse(outcome)->statusCode(), 200);
    EXPECT_NE(outcome.thread, std::this_thread::get_id());

    const auto received = server.requests().at(0);
    EXPECT_EQ(received.method, "POST");
    EXPECT_EQ(received.header("Content-Length"), std::to_string(contents.size()));
    EXPECT_EQ(received.header("Content-Type"), "multipart/form-data; boundary=b");
    EXPECT_FALSE(received.header("Expect"));
    EXPECT_TRUE(received.body == contents);

    const auto reports = delegate->reports();
    ASSERT_GT(reports.size(), 1u);
    std::int64_t previous = 0;
    for (const auto& report : reports) {
        EXPECT_EQ(report.totalBytesSent, previous + report.bytesSent);
        EXPECT_GT(report.bytesSent, 0);
        EXPECT_EQ(report.totalBytesExpected, static_cast<std::int64_t>(contents.size()));
        EXPECT_NE(report.thread, std::this_thread::get_id());
        previous = report.totalBytesSent;
    }
    EXPECT_EQ(previous, static_cast<std::int64_t>(contents.size()));
}

using testsupport::peakResidentKilobytes;

TEST(URLSessionUpload, KeepsMemoryFlatWhateverTheFileSize) {
    constexpr std::int64_t fileSize = 1024LL * 1024 * 1024;
    const TemporaryFolder folder;
    const auto path = folder.path() / "large.tmp";
    // A sparse file: reading it costs no disk, and holding it would cost 1 GiB.
    const int descriptor = ::open(path.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::ftruncate(descriptor, fileSize), 0);
    ::close(descriptor);
    LoopbackServer server;
    server.countBodiesOnly();
    server.reply("POST", "/upload", {.status = 200});

    const auto before = peakResidentKilobytes();
    auto request = requestTo(server.url("/upload"));
    request.setHTTPMethod("POST");
    CompletionProbe probe;
    probe.uploadTask(URLSession::shared(), request, *URL::fromString(fileURLOf(path)))->resume();
    const auto outcome = probe.wait(std::chrono::seconds(300));
    ASSERT_FALSE(outcome.error) << outcome.error->what();
    EXPECT_EQ(server.requests().at(0).bodyLength, static_cast<std::size_t>(fileSize));
    EXPECT_LT(peakResidentKilobytes() - before, fileSize / 1024 / 8);
}

TEST(URLSessionLifetime, DestroyingASessionCancelsItsUnfinishedTasks) {
    LoopbackServer server;
    server.reply("GET", "/stall", Reply::stalling());
    auto session = std::make_unique<URLSession>();
    CompletionProbe stalled;
    CompletionProbe later;
    stalled.dataTask(*session, requestTo(server.url("/stall")))->resume();
    const auto unstarted = later.dataTask(*session, requestTo(server.url("/stall")));
    while (server.requests().empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    session.reset();
    EXPECT_EQ(stalled.calls(), 1);
    EXPECT_EQ(stalled.wait().error->code(), URLError::Code::cancelled);

    // No session thread is left to run it on, so it ends where it was resumed.
    unstarted->resume();
    const auto outcome = later.wait();
    EXPECT_EQ(outcome.error->code(), URLError::Code::cancelled);
    EXPECT_EQ(outcome.thread, std::this_thread::get_id());
}

}  // namespace
}  // namespace foundation
