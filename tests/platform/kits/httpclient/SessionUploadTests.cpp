// Multipart uploads against a real server on the loopback address, the
// received form read byte for byte.

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/foundation/core/DevelopmentCertificateOverride.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "platform/kits/httpclient/Session.hpp"
#include "tests/support/ContentCoding.hpp"
#include "tests/support/ForkedChild.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/MultipartForm.hpp"
#include "tests/support/ResidentMemory.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/TLSIdentity.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace httpclient {
namespace {

using testsupport::FormPart;
using testsupport::LoopbackServer;
using testsupport::MainLoop;
using testsupport::Reply;

class SessionUploadTest : public ::testing::Test {
protected:
    foundation::URLRequest request(std::string_view path) const { return request(server_, path); }
    static foundation::URLRequest request(const LoopbackServer& server, std::string_view path) {
        foundation::URLRequest made(*foundation::URL::fromString(server.url(path)));
        made.setHTTPMethod("POST");
        made.addValue("token=t0k", "Cookie");
        made.addValue("App", "User-Agent");
        return made;
    }

    // Uploads and runs the main loop until the one delivery has come.
    DataResponse upload(const std::function<void(MultipartFormData&)>& build, foundation::URLRequest made,
                        std::uint64_t threshold = Session::defaultMultipartFormDataEncodingMemoryThreshold) {
        Session session;
        std::vector<DataResponse> delivered;
        bool onMainThread = true;
        auto subscription = session.upload(build, std::move(made), threshold)
                                ->publishData(concurrency::MainActor::shared())
                                .sink([&](const DataResponse& response) {
                                    onMainThread = onMainThread && concurrency::MainActor::isMainThread();
                                    delivered.push_back(response);
                                });
        MainLoop::iterateUntil([&] { return !delivered.empty(); });
        // Nothing more comes.
        MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(50));
        EXPECT_EQ(delivered.size(), 1u);
        EXPECT_TRUE(onMainThread);
        return delivered.empty() ? DataResponse{} : delivered.front();
    }

    LoopbackServer server_;
    testsupport::ScratchDirectory files_;
};

TEST_F(SessionUploadTest, SendsThePartsInOrderByteForByte) {
    const auto small = files_.write("note.txt", "from disk");
    struct Case {
        std::string label;
        std::function<void(MultipartFormData&)> build;
        std::vector<FormPart> expected;
    };
    const std::vector<Case> cases = {
        {"plain fields, an empty one among them",
         [](MultipartFormData& form) {
             form.append(foundation::Data("hello"), "notes");
             form.append(foundation::Data(), "file");
         },
         {{"notes", "hello"}, {"file", ""}}},
        {"a file name and type; an empty type kept",
         [](MultipartFormData& form) {
             form.append(foundation::Data(std::string("\0\x01\r\n--", 6)), "file", "a.bin", "application/octet-stream");
             form.append(foundation::Data("x"), "file", "photo.jpg", "");
         },
         {{"file", std::string("\0\x01\r\n--", 6), "a.bin", "application/octet-stream"},
          {"file", "x", "photo.jpg", ""}}},
        {"a file name without a type gets no guessed type",
         [](MultipartFormData& form) { form.append(foundation::Data("x"), "file", "photo.jpg", std::nullopt); },
         {{"file", "x", "photo.jpg"}}},
        {"a small file on disk",
         [&small](MultipartFormData& form) {
             form.append(foundation::URL::fileURL(small.string()), "file", "note.txt", "text/plain");
         },
         {{"file", "from disk", "note.txt", "text/plain"}}},
        {"quotes and line breaks cannot leave the attribute",
         [](MultipartFormData& form) { form.append(foundation::Data("x"), "file", "a\"b\r\nc.txt", "text/plain\r\nX: y"); },
         {{"file", "x", "a%22b%0D%0Ac.txt", "text/plainX: y"}}},
    };
    server_.reply("POST", "/entries", {.status = 201, .body = R"({"id":1})"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto response = upload(c.build, request("/entries"));
        EXPECT_FALSE(response.error) << response.error->what();
        EXPECT_EQ(response.statusCode, 201);
        EXPECT_EQ(response.data, foundation::Data(R"({"id":1})"));
        const auto received = server_.requests().back();
        EXPECT_EQ(received.method, "POST");
        EXPECT_EQ(received.header("Cookie"), "token=t0k");
        EXPECT_EQ(received.header("User-Agent"), "App");
        EXPECT_EQ(received.body, testsupport::encodedForm(testsupport::boundaryOf(received), c.expected));
    }
}

TEST_F(SessionUploadTest, AnyReplyIsAResponseWhateverItsStatus) {
    const std::vector<Reply> replies = {
        {.status = 500, .body = R"({"message":"down"})"},
        // Where the new entry is, or a status without a place to go: no redirect.
        {.status = 201, .headers = {{"Location", "/entries/5"}}, .body = R"({"id":5})"},
        {.status = 302, .body = "moved"},
    };
    for (const auto& reply : replies) {
        SCOPED_TRACE(reply.status);
        server_.reply("POST", "/entries", reply);
        const auto response = upload([](MultipartFormData& form) { form.append(foundation::Data("x"), "notes"); },
                                     request("/entries"));
        EXPECT_FALSE(response.error) << response.error->what();
        EXPECT_EQ(response.statusCode, reply.status);
        EXPECT_EQ(response.data, foundation::Data(reply.body));
    }
}

TEST_F(SessionUploadTest, AFailedRequestIsAnErrorWithItsDescription) {
    foundation::URLRequest refused(
        *foundation::URL::fromString("http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/entries"));
    refused.setHTTPMethod("POST");
    const auto response = upload([](MultipartFormData& form) { form.append(foundation::Data("x"), "notes"); },
                                 std::move(refused));
    ASSERT_TRUE(response.error);
    EXPECT_STREQ(response.error->what(), "URLSessionTask failed with error: Could not connect to the server.");
    EXPECT_EQ(response.statusCode, std::nullopt);

    const auto before = server_.requests().size();
    const auto missing = upload(
        [this](MultipartFormData& form) {
            form.append(foundation::URL::fileURL((files_ / "gone.bin").string()), "file", "gone.bin", "");
        },
        request("/entries"));
    ASSERT_TRUE(missing.error);
    EXPECT_THAT(missing.error->what(), ::testing::HasSubstr("gone.bin cannot be read"));
    EXPECT_EQ(server_.requests().size(), before);
}

TEST_F(SessionUploadTest, AFileAboveTheThresholdStreamsFromDisk) {
    constexpr std::int64_t fileSize = 128LL * 1024 * 1024;
    const auto path = files_ / "large.bin";
    {
        std::ofstream(path, std::ios::binary).put('\0');
    }
    std::filesystem::resize_file(path, fileSize);
    server_.countBodiesOnly();
    server_.reply("POST", "/entries", {.status = 201});
    const auto before = testsupport::peakResidentKilobytes();
    const auto response = upload(
        [&](MultipartFormData& form) {
            form.append(foundation::Data("big"), "notes");
            form.append(foundation::URL::fileURL(path.string()), "file", "large.bin", "application/octet-stream");
        },
        request("/entries"));
    // Threads, TLS and a sanitizer's shadow cost some MiB; a file held in
    // memory would cost all of it.
    EXPECT_LT(testsupport::peakResidentKilobytes() - before, fileSize / 1024 / 4);
    EXPECT_FALSE(response.error);
    EXPECT_GT(server_.requests().back().bodyLength, static_cast<std::size_t>(fileSize));
}

TEST_F(SessionUploadTest, StreamsInMemoryPartsAboveTheThresholdWithTheSameBytes) {
    server_.reply("POST", "/entries", {.status = 201});
    const std::string bytes(4096, 'z');
    const auto response = upload(
        [&](MultipartFormData& form) {
            form.append(foundation::Data("a"), "notes");
            form.append(foundation::Data(bytes), "file", "z.bin", "application/octet-stream");
        },
        request("/entries"), 16);
    EXPECT_FALSE(response.error);
    const auto received = server_.requests().back();
    EXPECT_EQ(received.body, testsupport::encodedForm(testsupport::boundaryOf(received),
                                                      {{"notes", "a"}, {"file", bytes, "z.bin", "application/octet-stream"}}));
}

// A 307 or 308 sends the form on unchanged; curl would turn the POST of any
// other redirect into a GET without it, whose answer would pass for the
// upload's. After an encrypted start nothing goes out in clear text.
TEST_F(SessionUploadTest, FollowsOnlyRedirectsThatSendTheFormOnAndNeverToPlainHTTP) {
    const testsupport::TLSIdentity identity({.alternativeNames = "IP:127.0.0.1"});
    LoopbackServer secure(identity);
    const foundation::DevelopmentCertificateOverride trust(files_.write("secure.pem", identity.pem()).string(), {"127.0.0.1"});
    // The GET is what a followed 301, 302 or 303 would land as.
    for (auto* landing : {&server_, &secure}) {
        landing->reply("POST", "/landing", {.status = 201, .body = R"({"id":1})"});
        landing->reply("GET", "/landing", {.status = 200, .body = R"({"id":1})"});
    }
    const auto entry = files_.write("entry.txt", "a private entry");
    // Streamed, so that a redirect that is followed reads the file again from its start.
    const auto build = [&entry](MultipartFormData& form) {
        form.append(foundation::Data("private"), "notes");
        form.append(foundation::URL::fileURL(entry.string()), "file", "entry.txt", "text/plain");
    };
    const std::vector<FormPart> sent = {{"notes", "private"}, {"file", "a private entry", "entry.txt", "text/plain"}};
    const std::string toPlainHTTP =
        "URLSessionTask failed with error: The request was redirected from a secure connection to one that is not.";
    const auto refused = [](int status) {
        return "The server redirected the upload with status " + std::to_string(status) +
               "; only a 307 or 308 redirect, which sends the form on unchanged, is followed.";
    };
    struct Case {
        int status;
        LoopbackServer* from;
        LoopbackServer* to;
        // The failure, or none when the form lands.
        std::optional<std::string> failure;
    };
    const Case cases[] = {
        {307, &secure, &server_, toPlainHTTP},
        {308, &secure, &server_, toPlainHTTP},
        {302, &secure, &server_, refused(302)},
        {301, &secure, &secure, refused(301)},
        {302, &secure, &secure, refused(302)},
        {303, &secure, &secure, refused(303)},
        {303, &server_, &server_, refused(303)},
        {307, &secure, &secure, std::nullopt},
        {308, &secure, &secure, std::nullopt},
        // Leaving clear text for an encrypted connection is no risk.
        {307, &server_, &secure, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.status) + " from " + c.from->url("/entries") + " to " + c.to->url("/landing"));
        c.from->reply("POST", "/entries", Reply::redirect(c.status, c.to->url("/landing")));
        const auto landedBefore = c.to->requests().size();
        const auto response = upload(build, request(*c.from, "/entries"), 0);
        const std::string outcome =
            response.error ? response.error->what() : "status " + std::to_string(response.statusCode.value_or(0));
        if (c.failure) {
            EXPECT_EQ(outcome, *c.failure);
            EXPECT_EQ(c.to->requests().size(), landedBefore + (c.from == c.to ? 1 : 0)) << "the redirect was followed";
        } else {
            EXPECT_EQ(outcome, "status 201");
            const auto landed = c.to->requests().back();
            EXPECT_EQ(landed.method, "POST");
            EXPECT_EQ(landed.path, "/landing");
            // The token goes with it to the same server only.
            EXPECT_EQ(landed.header("Cookie"),
                      c.from == c.to ? std::optional<std::string>("token=t0k") : std::nullopt);
            EXPECT_EQ(landed.body, testsupport::encodedForm(testsupport::boundaryOf(landed), sent));
        }
    }
    for (const auto& received : server_.requests()) {
        EXPECT_EQ(received.path, "/entries") << "the plain server was sent " << received.method << " " << received.path;
    }
}

// Every upload of a session shares the session's one network thread; ending
// the session ends the uploads still waiting for their replies, each answered
// once as cancelled, before the destructor returns.
TEST_F(SessionUploadTest, DestroyingTheSessionEndsItsUploadsAsCancelled) {
    // A request that arrives wakes the main loop, which the test iterates until all have.
    server_.handle("POST", "/stall", [](const testsupport::RecordedRequest&) {
        concurrency::MainActor::shared().enqueue([] {});
        return Reply::stalling();
    });
    constexpr std::size_t uploads = 4;
    std::vector<DataResponse> delivered;
    std::vector<combine::AnyCancellable> subscriptions;
    {
        Session session;
        for (std::size_t i = 0; i < uploads; ++i) {
            subscriptions.push_back(
                session.upload([](MultipartFormData& form) { form.append(foundation::Data("x"), "notes"); },
                               request("/stall"))
                    ->publishData(concurrency::MainActor::shared())
                    .sink([&delivered](const DataResponse& response) { delivered.push_back(response); }));
        }
        ASSERT_TRUE(MainLoop::iterateUntil([this] { return server_.requests().size() == uploads; }));
        EXPECT_TRUE(delivered.empty());
    }
    ASSERT_TRUE(MainLoop::iterateUntil([&delivered] { return delivered.size() == uploads; }));
    for (const auto& response : delivered) {
        ASSERT_TRUE(response.error);
        EXPECT_STREQ(response.error->what(), "URLSessionTask failed with error: The request was cancelled.");
    }
}

// A reply is held in memory, and a few kilobytes of gzip can decode to
// gigabytes: past the largest reply held the transfer ends at once, failed.
TEST_F(SessionUploadTest, AReplyPastTheLargestHeldEndsTheTransferAtOnce) {
    constexpr std::size_t largest = std::size_t{64} << 20;
    const std::string mebibyte(std::size_t{1} << 20, '\0');
    struct Case {
        std::string label;
        Reply reply;
    };
    const std::vector<Case> cases = {
        {"64 MiB and one byte", {.status = 201, .body = std::string(largest + 1, 'x')}},
        {"an endless chunked body", Reply::endless(std::string(64 * 1024, '\0'), 8 * largest)},
        {"a gzip bomb",
         {.status = 201,
          .headers = {{"Content-Encoding", "gzip"}},
          .body = testsupport::encodedBody("gzip", mebibyte, 128, "")}},
    };
    const auto oneNote = [](MultipartFormData& form) { form.append(foundation::Data("x"), "notes"); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        server_.reply("POST", "/entries", c.reply);
        // The server keeps its replies in this process: the client is
        // measured in a child of its own.
        const std::string outcome = testsupport::ForkedChild::run([this, &oneNote] {
            const auto before = testsupport::peakResidentKilobytes();
            Session session;
            std::optional<DataResponse> response;
            auto subscription = session.upload(oneNote, request("/entries"))
                                    ->publishData(concurrency::MainActor::shared())
                                    .sink([&response](const DataResponse& delivered) { response = delivered; });
            MainLoop::iterateUntil([&response] { return response.has_value(); }, std::chrono::minutes(2));
            if (!response) {
                return std::string("no response");
            }
            const auto grown = testsupport::peakResidentKilobytes() - before;
            // What is held stops at the limit. Growing it by doubling can
            // leave as much again with the allocator, a sanitizer keeps freed
            // memory a while and shadows what it allocates, and the client's
            // thread and TLS cost some MiB: a few times the limit, whereas
            // without it the endless body alone would hold eight.
            const bool bounded = grown < static_cast<std::int64_t>(4 * largest / 1024);
            return (response->error ? std::string(response->error->what())
                                    : "a reply of " + std::to_string(response->data.size()) + " bytes") +
                   (bounded ? std::string() : ", holding " + std::to_string(grown) + " KiB");
        });
        EXPECT_EQ(outcome, "URLSessionTask failed with error: "
                           "The server's reply is larger than the largest reply allowed.");
    }
}

}  // namespace
}  // namespace httpclient
