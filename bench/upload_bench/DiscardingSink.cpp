#include "bench/upload_bench/DiscardingSink.hpp"

#include "tests/support/LoopbackListener.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

namespace bench {
namespace {

// Header blocks beyond this are not what either client sends.
constexpr std::size_t headerLimit = 64 * 1024;
// Each receive may take this much; with MSG_TRUNC it is never copied here.
constexpr std::size_t discardChunk = std::size_t{4} << 20;

struct RequestHead {
    std::optional<std::uint64_t> contentLength;
    bool expectsContinue = false;
};

bool startsWithField(std::string_view line, std::string_view name) {
    return line.size() > name.size() && strncasecmp(line.data(), name.data(), name.size()) == 0;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

RequestHead parseHead(std::string_view head) {
    RequestHead parsed;
    for (std::size_t at = head.find("\r\n"); at != std::string_view::npos;) {
        const auto next = head.find("\r\n", at + 2);
        const auto line = head.substr(at + 2, next == std::string_view::npos ? std::string_view::npos : next - at - 2);
        if (startsWithField(line, "content-length:")) {
            parsed.contentLength = std::stoull(std::string(trimmed(line.substr(15))));
        } else if (startsWithField(line, "expect:")) {
            parsed.expectsContinue = strcasecmp(std::string(trimmed(line.substr(7))).c_str(), "100-continue") == 0;
        }
        at = next;
    }
    return parsed;
}

void sendAll(int connection, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto sent = ::send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

std::string replyOf(int status, std::string_view reason, std::string_view body) {
    return "HTTP/1.1 " + std::to_string(status) + " " + std::string(reason) +
           "\r\nContent-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + std::string(body);
}

}  // namespace

DiscardingSink::DiscardingSink(std::string replyBody) : reply_(replyOf(201, "Created", replyBody)) {
    const auto listener = testsupport::listenOnLoopback(8);
    if (listener.descriptor < 0) {
        throw std::runtime_error(std::string("the discarding sink cannot listen on 127.0.0.1: ") + std::strerror(errno));
    }
    listener_ = listener.descriptor;
    port_ = listener.port;
    thread_ = std::thread([this] { serve(); });
}

DiscardingSink::~DiscardingSink() {
    // Wakes the accepting thread, whose accept() then fails and ends it.
    ::shutdown(listener_, SHUT_RDWR);
    thread_.join();
    ::close(listener_);
}

std::string DiscardingSink::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

DiscardingSink::Clock::time_point DiscardingSink::lastHeadersReceived() const noexcept {
    return Clock::time_point(Clock::duration(headersReceived_.load()));
}

DiscardingSink::Clock::time_point DiscardingSink::lastBodyReceived() const noexcept {
    return Clock::time_point(Clock::duration(bodyReceived_.load()));
}

std::uint64_t DiscardingSink::lastBodyLength() const noexcept {
    return bodyLength_.load();
}

void DiscardingSink::serve() {
    for (;;) {
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            return;
        }
        serveConnection(connection);
        ::close(connection);
    }
}

void DiscardingSink::serveConnection(int connection) {
    std::string head;
    std::size_t headEnd = std::string::npos;
    std::vector<char> buffer(discardChunk);
    while (headEnd == std::string::npos && head.size() < headerLimit) {
        const auto received = ::recv(connection, buffer.data(), headerLimit, 0);
        if (received < 0 && errno == EINTR) {
            continue;
        }
        if (received <= 0) {
            return;
        }
        head.append(buffer.data(), static_cast<std::size_t>(received));
        headEnd = head.find("\r\n\r\n");
    }
    if (headEnd == std::string::npos) {
        sendAll(connection, replyOf(431, "Request Header Fields Too Large", ""));
        return;
    }
    headersReceived_ = Clock::now().time_since_epoch().count();
    const RequestHead request = parseHead(std::string_view(head).substr(0, headEnd + 2));
    if (!request.contentLength) {
        sendAll(connection, replyOf(411, "Length Required", ""));
        return;
    }
    if (request.expectsContinue) {
        sendAll(connection, "HTTP/1.1 100 Continue\r\n\r\n");
    }
    std::uint64_t body = std::min<std::uint64_t>(head.size() - headEnd - 4, *request.contentLength);
    while (body < *request.contentLength) {
        const auto wanted = std::min<std::uint64_t>(*request.contentLength - body, discardChunk);
        const auto received = ::recv(connection, buffer.data(), wanted, MSG_TRUNC);
        if (received < 0 && errno == EINTR) {
            continue;
        }
        if (received <= 0) {
            break;
        }
        body += static_cast<std::uint64_t>(received);
    }
    bodyReceived_ = Clock::now().time_since_epoch().count();
    bodyLength_ = body;
    if (body == *request.contentLength) {
        sendAll(connection, reply_);
    }
    ::shutdown(connection, SHUT_WR);
}

}  // namespace bench
