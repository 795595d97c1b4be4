#include "tests/support/RawReplyServer.hpp"

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

RawReplyServer::RawReplyServer(std::string reply) : reply_(std::move(reply)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
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
    std::size_t sent = 0;
    while (sent < reply_.size()) {
        const ssize_t count = ::send(connection, reply_.data() + sent, reply_.size() - sent, MSG_NOSIGNAL);
        if (count <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(count);
    }
    ::shutdown(connection, SHUT_WR);
}

}  // namespace testsupport
