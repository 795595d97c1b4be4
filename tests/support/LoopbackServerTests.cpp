#include "tests/support/LoopbackServer.hpp"
#include "tests/support/RawReplyServer.hpp"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {
namespace {

using namespace std::chrono_literals;

httplib::Client clientOf(const LoopbackServer& server) {
    httplib::Client client(server.address(), server.port());
    client.set_read_timeout(5, 0);
    return client;
}

TEST(LoopbackServer, AnswersScriptedRepliesByMethodAndPathAndNotFoundOtherwise) {
    LoopbackServer server;
    server.reply("GET", "/auth", {.status = 200, .headers = {{"X-Kind", "user"}}, .body = "{}"});
    server.reply("POST", "/auth", {.status = 201, .body = "made"});
    auto client = clientOf(server);

    struct Case {
        std::string method;
        std::string target;
        int status;
        std::string body;
    };
    const Case cases[] = {
        {"GET", "/auth", 200, "{}"},
        {"GET", "/auth?page=2", 200, "{}"},
        {"POST", "/auth", 201, "made"},
        {"GET", "/elsewhere", 404, "no reply is scripted for GET /elsewhere"},
        {"DELETE", "/auth", 404, "no reply is scripted for DELETE /auth"},
    };
    for (const auto& c : cases) {
        const auto result = c.method == "GET"    ? client.Get(c.target)
                            : c.method == "POST" ? client.Post(c.target, "", "text/plain")
                                                 : client.Delete(c.target);
        ASSERT_TRUE(result) << c.method << " " << c.target;
        EXPECT_EQ(result->status, c.status) << c.method << " " << c.target;
        EXPECT_EQ(result->body, c.body) << c.method << " " << c.target;
    }
    EXPECT_EQ(client.Get("/auth")->get_header_value("X-Kind"), "user");
}

TEST(LoopbackServer, LogsMethodTargetRepeatedFieldsInOrderAndRawBodies) {
    LoopbackServer server;
    auto client = clientOf(server);
    const std::string multipart =
        "--b\r\nContent-Disposition: form-data; name=\"journal_id\"\r\n\r\n42\r\n--b--\r\n";
    const httplib::Headers fields = {{"Cookie", "token=one"}, {"X-Many", "first"}, {"X-Many", "second"},
                                     {"X-Many", "third"}};
    ASSERT_TRUE(client.Get("/search?q=a%20b&n=1", fields));
    ASSERT_TRUE(client.Post("/entries/create", multipart, "multipart/form-data; boundary=b"));

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/search?q=a%20b&n=1");
    EXPECT_EQ(requests[0].path, "/search");
    EXPECT_EQ(requests[0].header("cookie"), "token=one");
    EXPECT_EQ(requests[0].headerValues("x-many"), (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_FALSE(requests[0].header("REMOTE_ADDR"));

    // A multipart body is logged byte for byte with its own content type, not parsed.
    EXPECT_EQ(requests[1].method, "POST");
    EXPECT_EQ(requests[1].body, multipart);
    EXPECT_EQ(requests[1].bodyLength, multipart.size());
    EXPECT_EQ(requests[1].header("Content-Type"), "multipart/form-data; boundary=b");
}

TEST(LoopbackServer, CountsBodiesWithoutKeepingThemWhenAsked) {
    LoopbackServer server;
    server.countBodiesOnly();
    auto client = clientOf(server);
    ASSERT_TRUE(client.Post("/upload", std::string(100000, 'x'), "application/octet-stream"));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].bodyLength, 100000u);
    EXPECT_TRUE(requests[0].body.empty());
}

TEST(LoopbackServer, HandlerComputesTheReplyFromTheRequest) {
    LoopbackServer server;
    server.handle("POST", "/echo", [](const RecordedRequest& request) {
        return Reply{.status = 200, .body = request.method + " " + request.body};
    });
    auto client = clientOf(server);
    const auto result = client.Post("/echo", "ping", "text/plain");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->body, "POST ping");
}

TEST(LoopbackServer, WaitsOutTheDelayBeforeReplying) {
    LoopbackServer server;
    server.reply("GET", "/slow", {.status = 200, .body = "late", .delay = 300ms});
    auto client = clientOf(server);
    const auto start = std::chrono::steady_clock::now();
    const auto result = client.Get("/slow");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->body, "late");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
}

TEST(LoopbackServer, FaultsFailTheClient) {
    LoopbackServer server;
    server.reply("GET", "/cut", Reply::closingMidBody("only this", 1000));
    server.reply("GET", "/stall", Reply::stalling());
    auto client = clientOf(server);
    client.set_read_timeout(1, 0);
    EXPECT_FALSE(client.Get("/cut"));
    EXPECT_FALSE(client.Get("/stall"));
    // Both requests arrived; only their replies went wrong.
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST(LoopbackServer, DestructionEndsAStalledRequest) {
    auto server = std::make_unique<LoopbackServer>();
    server->reply("GET", "/stall", Reply::stalling());
    std::thread client([address = server->address(), port = server->port()] {
        httplib::Client stalled(address, port);
        stalled.set_read_timeout(30, 0);
        (void)stalled.Get("/stall");
    });
    while (server->requests().empty()) {
        std::this_thread::sleep_for(1ms);
    }
    server.reset();
    client.join();
}

TEST(LoopbackServer, ListensOnAnyLoopbackAddress) {
    LoopbackServer other("127.0.0.2");
    other.reply("GET", "/landing", {.status = 200, .body = "other host"});
    EXPECT_EQ(other.url("/landing"), "http://127.0.0.2:" + std::to_string(other.port()) + "/landing");
    auto client = clientOf(other);
    const auto result = client.Get("/landing");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->body, "other host");
}

TEST(LoopbackServer, ClosedPortRefusesConnections) {
    httplib::Client client("127.0.0.1", LoopbackServer::closedPort());
    const auto result = client.Get("/");
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), httplib::Error::Connection);
}

TEST(RawReplyServer, SendsItsBytesVerbatimAndCloses) {
    const std::string garbage = "\x01\x02 this is no HTTP at all\r\n\r\n";
    RawReplyServer server(garbage);
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(socket, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(server.port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string request = "GET / HTTP/1.1\r\nHost: x\r\n\r\n";
    ASSERT_EQ(::send(socket, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));
    std::string received;
    char buffer[256];
    for (ssize_t count; (count = ::recv(socket, buffer, sizeof buffer, 0)) > 0;) {
        received.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(socket);
    EXPECT_EQ(received, garbage);
}

}  // namespace
}  // namespace testsupport
