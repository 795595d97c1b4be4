#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testsupport {

class TLSIdentity;

using HeaderList = std::vector<std::pair<std::string, std::string>>;

// A request as the server received it.
struct RecordedRequest {
    std::string method{};
    // The request target as sent: the path with its query.
    std::string target{};
    // The path alone, percent-decoded.
    std::string path{};
    // The fields as received, with the client's spelling. The HTTP library
    // groups them by name, so the order across names is lost, but several
    // values of one name keep the order they came in. It also drops fields
    // with an empty value; RawReplyServer shows the request as sent.
    HeaderList headers{};
    // The raw body bytes (kept unless the server only counts bodies).
    std::string body{};
    std::size_t bodyLength = 0;

    // The first value of the field, the name compared without regard to case.
    [[nodiscard]] std::optional<std::string> header(std::string_view name) const;
    [[nodiscard]] std::vector<std::string> headerValues(std::string_view name) const;
};

// What the server answers with, or how it misbehaves.
struct Reply {
    enum class Fault {
        none,
        // Sends the header fields with promisedLength, then part of the body, then closes.
        closeMidBody,
        // Accepts the request and never answers, until the server is destroyed.
        stall,
        // Sends the body over and over, chunked, until the client hangs up or the server is
        // destroyed; a client that never stops is let go after promisedLength bytes.
        endless,
    };

    int status = 200;
    HeaderList headers{};
    std::string body{};
    // Waited out before answering; the server's destruction cuts it short.
    std::chrono::milliseconds delay{0};
    Fault fault = Fault::none;
    std::size_t promisedLength = 0;

    static Reply redirect(int status, std::string location);
    static Reply closingMidBody(std::string sentBody, std::size_t promisedLength);
    static Reply stalling();
    static Reply endless(std::string piece, std::size_t lettingGoAfter = std::numeric_limits<std::size_t>::max());
};

// An HTTP/1.1 server on a loopback address and a free port, for every HTTP
// test: it serves from its own threads from construction to destruction,
// answers scripted replies per method and path (404 for anything not
// scripted), or hands requests to a handler for tests that need logic, and
// logs every request it receives.
//
//     LoopbackServer server;
//     server.reply("GET", "/auth", {.status = 200, .body = R"({"id":1})"});
//     ... request server.url("/auth?x=1") ...
//     EXPECT_EQ(server.requests().at(0).target, "/auth?x=1");
//
// Any address in 127.0.0.0/8 works, so two servers on 127.0.0.1 and
// 127.0.0.2 are two different hosts to a client. Given an identity, the
// server speaks HTTPS with its certificate, which the client is to trust
// (foundation::DevelopmentCertificateOverride with identity.pem()).
class LoopbackServer {
public:
    using Handler = std::function<Reply(const RecordedRequest&)>;

    explicit LoopbackServer(std::string address = "127.0.0.1");
    explicit LoopbackServer(const TLSIdentity& identity, std::string address = "127.0.0.1");
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    [[nodiscard]] const std::string& address() const noexcept;
    [[nodiscard]] int port() const noexcept;
    // "http://address:port" ("https" with an identity) followed by the path (and query).
    [[nodiscard]] std::string url(std::string_view pathAndQuery) const;

    // Scripts the answer to every request with this method and path (no query).
    void reply(std::string method, std::string path, Reply reply);
    // Hands every request with this method and path to the handler, on a server thread.
    void handle(std::string method, std::string path, Handler handler);
    // From now on bodies are counted, not kept: for uploads too large to hold.
    void countBodiesOnly();
    // Back to keeping bodies, for a server that outlives the test that counted.
    void keepBodies();

    // Every request received so far, in the order the server took them.
    [[nodiscard]] std::vector<RecordedRequest> requests() const;
    // How much of endless bodies the server has handed to its connections so far: what a client
    // that stops reading took in, plus what the connection buffers.
    [[nodiscard]] std::size_t endlessBytesSent() const;

    // A loopback port that nothing listens on, for refused connections.
    [[nodiscard]] static int closedPort();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace testsupport
