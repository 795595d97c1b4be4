#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>

namespace bench {

// An HTTP/1.1 endpoint on 127.0.0.1 that takes one request per connection,
// throws its body away as fast as the kernel can hand it over and answers
// every request with the same 201 reply. A general-purpose test server reads
// bodies a few KiB at a time and would be the slowest party in an upload
// benchmark; here the kernel drops the bytes without copying them out, so
// the clients' own costs are what the clock sees.
class DiscardingSink {
public:
    using Clock = std::chrono::steady_clock;

    explicit DiscardingSink(std::string replyBody);
    ~DiscardingSink();
    DiscardingSink(const DiscardingSink&) = delete;
    DiscardingSink& operator=(const DiscardingSink&) = delete;

    [[nodiscard]] std::string url(std::string_view path) const;

    // Of the last request served: when its header fields were all in, when
    // its whole body was, and how many body bytes followed the fields. A
    // request that broke off counts what came before the break.
    [[nodiscard]] Clock::time_point lastHeadersReceived() const noexcept;
    [[nodiscard]] Clock::time_point lastBodyReceived() const noexcept;
    [[nodiscard]] std::uint64_t lastBodyLength() const noexcept;

private:
    void serve();
    void serveConnection(int connection);

    int listener_ = -1;
    int port_ = 0;
    std::string reply_;
    std::atomic<Clock::rep> headersReceived_{0};
    std::atomic<Clock::rep> bodyReceived_{0};
    std::atomic<std::uint64_t> bodyLength_{0};
    std::thread thread_;
};

}  // namespace bench
