#include "tests/support/RawReplyServer.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <fcntl.h>
#include <unistd.h>

namespace testsupport {
namespace {

// How long a client gets to send its request before it is answered anyway.
constexpr int requestWaitMilliseconds = 2000;
constexpr std::size_t largestRequest = 64 * 1024;

}  // namespace

RawReplyServer::RawReplyServer(std::string reply)
    : RawReplyServer(std::vector<Piece>{{std::chrono::milliseconds(0), std::move(reply)}}) {}

RawReplyServer::RawReplyServer(std::vector<Piece> reply, std::optional<ReadPace> readPace)
    : reply_(std::move(reply)), readPace_(readPace) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ >= 0 && readPace_) {
        // Accepted connections take it over; a large buffer would take in
        // megabytes at once and hide the pace from the client.
        const int size = static_cast<int>(readPace_->bytes);
        ::setsockopt(listener_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, SOMAXCONN) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        ::pipe2(wakeup_, O_CLOEXEC) != 0) {
        if (listener_ >= 0) {
            ::close(listener_);
        }
        throw std::runtime_error("the raw reply server cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

RawReplyServer::~RawReplyServer() {
    const char stop = 0;
    (void)!::write(wakeup_[1], &stop, 1);
    thread_.join();
    ::close(wakeup_[0]);
    ::close(wakeup_[1]);
    ::close(listener_);
}

std::string RawReplyServer::url(std::string_view pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(pathAndQuery);
}

void RawReplyServer::serve() {
    for (;;) {
        pollfd watched[] = {{listener_, POLLIN, 0}, {wakeup_[0], POLLIN, 0}};
        if (::poll(watched, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        if (watched[1].revents != 0) {
            return;
        }
        if ((watched[0].revents & POLLIN) != 0) {
            const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection >= 0) {
                answer(connection);
                ::close(connection);
            }
        }
    }
}

std::vector<std::string> RawReplyServer::requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

void RawReplyServer::answer(int connection) {
    // Reading the request first matters: closing a socket with unread bytes
    // resets the connection, and the client would see a reset, not the reply.
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < largestRequest) {
        pollfd readable{connection, POLLIN, 0};
        if (::poll(&readable, 1, requestWaitMilliseconds) <= 0) {
            break;
        }
        const ssize_t count = ::recv(connection, buffer, sizeof buffer, 0);
        if (count <= 0) {
            break;
        }
        request.append(buffer, static_cast<std::size_t>(count));
    }
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    if (readPace_) {
        readBodySlowly(connection, request);
    }
    for (const auto& piece : reply_) {
        if (!pause(piece.pause)) {
            return;
        }
        std::size_t sent = 0;
        while (sent < piece.bytes.size()) {
            const ssize_t count =
                ::send(connection, piece.bytes.data() + sent, piece.bytes.size() - sent, MSG_NOSIGNAL);
            if (count <= 0) {
                return;
            }
            sent += static_cast<std::size_t>(count);
        }
    }
    ::shutdown(connection, SHUT_WR);
}

void RawReplyServer::readBodySlowly(int connection, const std::string& request) {
    const auto end = request.find("\r\n\r\n");
    const auto field = request.find("\r\nContent-Length: ");
    if (end == std::string::npos || field == std::string::npos || field > end) {
        return;
    }
    const std::size_t length = std::stoul(request.substr(field + 18));
    std::size_t received = request.size() - (end + 4);
    std::string buffer(readPace_->bytes, '\0');
    while (received < length) {
        if (!pause(readPace_->pause)) {
            return;
        }
        const ssize_t count = ::recv(connection, buffer.data(), std::min(buffer.size(), length - received), 0);
        if (count <= 0) {
            return;
        }
        received += static_cast<std::size_t>(count);
    }
}

bool RawReplyServer::pause(std::chrono::milliseconds duration) const {
    if (duration.count() <= 0) {
        return true;
    }
    pollfd stop{wakeup_[0], POLLIN, 0};
    return ::poll(&stop, 1, static_cast<int>(duration.count())) == 0;
}

}  // namespace testsupport
