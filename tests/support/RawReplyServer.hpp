#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace testsupport {

// Answers every connection on 127.0.0.1 with the same bytes, whatever was
// asked, and closes it: for replies that are no HTTP at all, which no HTTP
// server library will send, and for tests that need the request exactly as
// it went over the wire. Connections are served one after another.
//
// For time-outs, the reply can come in pieces with pauses before them, and
// the request's body (its Content-Length) can be read slowly: so many bytes
// at a time, then a pause, through a small receive buffer, so that the
// client can only send as fast as the server reads. The server's
// destruction cuts every pause short.
class RawReplyServer {
public:
    struct Piece {
        std::chrono::milliseconds pause;
        std::string bytes;
    };
    struct ReadPace {
        std::size_t bytes;
        std::chrono::milliseconds pause;
    };

    explicit RawReplyServer(std::string reply);
    explicit RawReplyServer(std::vector<Piece> reply, std::optional<ReadPace> readPace = std::nullopt);
    ~RawReplyServer();
    RawReplyServer(const RawReplyServer&) = delete;
    RawReplyServer& operator=(const RawReplyServer&) = delete;

    [[nodiscard]] int port() const noexcept { return port_; }
    [[nodiscard]] std::string url(std::string_view pathAndQuery) const;
    // The bytes of each request up to the end of its header fields, in the order received.
    [[nodiscard]] std::vector<std::string> requests() const;

private:
    void serve();
    void answer(int connection);
    // Reads the rest of the body that the header fields announce, at the pace.
    void readBodySlowly(int connection, const std::string& request);
    // False when the server is being destroyed before the time is up.
    [[nodiscard]] bool pause(std::chrono::milliseconds duration) const;

    std::vector<Piece> reply_;
    std::optional<ReadPace> readPace_;
    int listener_ = -1;
    int wakeup_[2] = {-1, -1};
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace testsupport
