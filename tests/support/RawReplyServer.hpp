#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace testsupport {

// Answers every connection on 127.0.0.1 with the same bytes, whatever was
// asked, and closes it: for replies that are no HTTP at all, which no HTTP
// server library will send, and for tests that need the request exactly as
// it went over the wire. Connections are served one after another.
class RawReplyServer {
public:
    explicit RawReplyServer(std::string reply);
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

    std::string reply_;
    int listener_ = -1;
    int wakeup_[2] = {-1, -1};
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace testsupport
