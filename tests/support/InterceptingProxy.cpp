#include "tests/support/InterceptingProxy.hpp"

#include "tests/support/LoopbackListener.hpp"
#include "tests/support/TLSIdentity.hpp"

#include <openssl/ssl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <thread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {
namespace {

constexpr std::size_t largestHead = 64 * 1024;

// "DNS:a,DNS:b", as OpenSSL's configuration writes the names.
std::string alternativeNames(const std::vector<std::string>& hostNames) {
    std::string names;
    for (const auto& host : hostNames) {
        names += (names.empty() ? "DNS:" : ",DNS:") + host;
    }
    return names;
}

int connectToLoopback(int port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (socket >= 0 && ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        return socket;
    }
    if (socket >= 0) {
        ::close(socket);
    }
    return -1;
}

bool sendAll(int socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

std::string lower(std::string_view text) {
    std::string result(text);
    std::ranges::transform(result, result.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// A request's head split into its line and its fields.
struct Head {
    std::string line;
    std::vector<std::pair<std::string, std::string>> fields;

    static Head parse(std::string_view text) {
        Head head;
        std::size_t start = 0;
        bool first = true;
        while (start < text.size()) {
            const auto end = text.find("\r\n", start);
            const auto line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
            start = end == std::string_view::npos ? text.size() : end + 2;
            if (line.empty()) {
                break;
            }
            if (first) {
                head.line = line;
                first = false;
            } else if (const auto colon = line.find(':'); colon != std::string_view::npos) {
                auto value = line.substr(colon + 1);
                while (!value.empty() && value.front() == ' ') {
                    value.remove_prefix(1);
                }
                head.fields.emplace_back(std::string(line.substr(0, colon)), std::string(value));
            }
        }
        return head;
    }

    [[nodiscard]] std::optional<std::string> field(std::string_view name) const {
        for (const auto& [key, value] : fields) {
            if (lower(key) == lower(name)) {
                return value;
            }
        }
        return std::nullopt;
    }
};

}  // namespace

class InterceptingProxy::State {
public:
    State(int serverPort, const std::vector<std::string>& hostNames)
        : serverPort_(serverPort),
          identity_({.alternativeNames = alternativeNames(hostNames), .keyUsage = "critical,digitalSignature"}),
          context_(SSL_CTX_new(TLS_server_method())) {
        char folder[] = "/tmp/kestrova-proxy-XXXXXX";
        if (::mkdtemp(folder) == nullptr) {
            throw std::runtime_error("the proxy cannot make its folder");
        }
        folder_ = folder;
        certificateFile_ = folder_ / "certificate.pem";
        if (FILE* file = std::fopen(certificateFile_.c_str(), "w")) {
            const std::string pem = identity_.pem();
            std::fwrite(pem.data(), 1, pem.size(), file);
            std::fclose(file);
        }
        SSL_CTX_use_certificate(context_, identity_.certificate());
        SSL_CTX_use_PrivateKey(context_, identity_.key());

        const auto listener = listenOnLoopback(SOMAXCONN);
        listener_ = listener.descriptor;
        if (listener_ < 0 || ::pipe2(wakeup_, O_CLOEXEC) != 0) {
            throw std::runtime_error("the proxy cannot listen on 127.0.0.1");
        }
        port_ = listener.port;
        acceptor_ = std::thread([this] { accept(); });
    }

    ~State() {
        stopping_ = true;
        const char stop = 0;
        static_cast<void>(!::write(wakeup_[1], &stop, 1));
        acceptor_.join();
        {
            // Every connection's thread is blocked in a read on one of these.
            std::unique_lock lock(mutex_);
            for (const int socket : open_) {
                ::shutdown(socket, SHUT_RDWR);
            }
            connectionsEnded_.wait(lock, [this] { return connections_ == 0; });
        }
        ::close(wakeup_[0]);
        ::close(wakeup_[1]);
        ::close(listener_);
        SSL_CTX_free(context_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    State(const State&) = delete;
    State& operator=(const State&) = delete;

    [[nodiscard]] int port() const noexcept { return port_; }
    [[nodiscard]] const std::filesystem::path& certificateFile() const noexcept { return certificateFile_; }

private:
    void accept() {
        while (true) {
            pollfd waits[] = {{listener_, POLLIN, 0}, {wakeup_[0], POLLIN, 0}};
            if (::poll(waits, 2, -1) < 0 || (waits[1].revents & POLLIN) != 0) {
                return;
            }
            const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) {
                continue;
            }
            const std::lock_guard lock(mutex_);
            open_.insert(client);
            ++connections_;
            // Detached and counted rather than joined: a proxy that lives until the process exits
            // would otherwise end with a thread of each finished connection never joined.
            std::thread([this, client] {
                serve(client);
                forget(client);
                const std::lock_guard ended(mutex_);
                if (--connections_ == 0) {
                    connectionsEnded_.notify_all();
                }
            }).detach();
        }
    }

    void remember(int socket) {
        const std::lock_guard lock(mutex_);
        open_.insert(socket);
        if (stopping_) {
            ::shutdown(socket, SHUT_RDWR);
        }
    }

    void forget(int socket) {
        {
            const std::lock_guard lock(mutex_);
            open_.erase(socket);
        }
        ::close(socket);
    }

    // Reads up to the end of a head ("\r\n\r\n") with `read`, keeping what came after it in `rest`.
    template <typename Read>
    static std::optional<std::string> readHead(Read read, std::string& rest) {
        std::string bytes = std::move(rest);
        rest.clear();
        char buffer[4096];
        while (bytes.find("\r\n\r\n") == std::string::npos) {
            if (bytes.size() > largestHead) {
                return std::nullopt;
            }
            const int got = read(buffer, static_cast<int>(sizeof buffer));
            if (got <= 0) {
                return std::nullopt;
            }
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        const auto end = bytes.find("\r\n\r\n") + 4;
        rest = bytes.substr(end);
        bytes.resize(end);
        return bytes;
    }

    void serve(int client) {
        std::string rest;
        const auto head = readHead([client](char* buffer, int size) { return static_cast<int>(::recv(client, buffer, static_cast<std::size_t>(size), 0)); }, rest);
        if (!head) {
            return;
        }
        if (head->starts_with("CONNECT ")) {
            const auto authority = head->substr(8, head->find(' ', 8) - 8);
            if (sendAll(client, "HTTP/1.1 200 Connection Established\r\n\r\n")) {
                intercept(client, authority.substr(0, authority.rfind(':')));
            }
            return;
        }
        const int server = connectToLoopback(serverPort_);
        if (server < 0) {
            return;
        }
        remember(server);
        if (sendAll(server, *head + rest)) {
            relay(client, server);
        }
        forget(server);
    }

    // Copies bytes both ways until one side closes.
    static void relay(int client, int server) {
        char buffer[16384];
        pollfd ends[] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
        while (::poll(ends, 2, -1) > 0) {
            for (int index = 0; index < 2; ++index) {
                if ((ends[index].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
                    continue;
                }
                const ssize_t got = ::recv(ends[index].fd, buffer, sizeof buffer, 0);
                if (got <= 0 || !sendAll(ends[1 - index].fd, std::string_view(buffer, static_cast<std::size_t>(got)))) {
                    return;
                }
            }
        }
    }

    // Holds TLS with the client and passes each of its requests on to the server, in absolute form.
    void intercept(int client, const std::string& connectedHost) {
        SSL* tls = SSL_new(context_);
        SSL_set_fd(tls, client);
        if (SSL_accept(tls) == 1) {
            std::string rest;
            while (const auto head = readHead([tls](char* buffer, int size) { return SSL_read(tls, buffer, size); }, rest)) {
                if (!forward(tls, Head::parse(*head), connectedHost, rest)) {
                    break;
                }
            }
            SSL_shutdown(tls);
        }
        SSL_free(tls);
    }

    bool forward(SSL* tls, const Head& head, const std::string& connectedHost, std::string& rest) {
        std::size_t length = 0;
        if (const auto declared = head.field("Content-Length")) {
            length = std::stoul(*declared);
        }
        std::string body = std::move(rest);
        rest.clear();
        char buffer[16384];
        while (body.size() < length) {
            const int got = SSL_read(tls, buffer, sizeof buffer);
            if (got <= 0) {
                return false;
            }
            body.append(buffer, static_cast<std::size_t>(got));
        }
        rest = body.substr(length);
        body.resize(length);

        const auto firstSpace = head.line.find(' ');
        const auto secondSpace = head.line.rfind(' ');
        if (firstSpace == std::string::npos || secondSpace <= firstSpace) {
            return false;
        }
        const std::string method = head.line.substr(0, firstSpace);
        const std::string target = head.line.substr(firstSpace + 1, secondSpace - firstSpace - 1);
        std::string request = method + " https://" + head.field("Host").value_or(connectedHost) + target + " HTTP/1.1\r\n";
        for (const auto& [name, value] : head.fields) {
            const auto key = lower(name);
            if (key != "connection" && key != "keep-alive" && key != "proxy-connection") {
                request += name + ": " + value + "\r\n";
            }
        }
        request += "Connection: close\r\n\r\n" + body;

        const int server = connectToLoopback(serverPort_);
        if (server < 0) {
            return false;
        }
        remember(server);
        bool answered = sendAll(server, request);
        while (answered) {
            const ssize_t got = ::recv(server, buffer, sizeof buffer, 0);
            if (got <= 0) {
                break;
            }
            answered = SSL_write(tls, buffer, static_cast<int>(got)) == static_cast<int>(got);
        }
        forget(server);
        return answered;
    }

    int serverPort_;
    TLSIdentity identity_;
    SSL_CTX* context_;
    std::filesystem::path folder_;
    std::filesystem::path certificateFile_;
    int listener_ = -1;
    int wakeup_[2] = {-1, -1};
    int port_ = 0;
    std::atomic<bool> stopping_ = false;
    std::mutex mutex_;
    std::set<int> open_;
    // The connections being served, each on a thread of its own.
    int connections_ = 0;
    std::condition_variable connectionsEnded_;
    std::thread acceptor_;
};

InterceptingProxy::InterceptingProxy(int serverPort, const std::vector<std::string>& hostNames)
    : state_(std::make_unique<State>(serverPort, hostNames)) {}

InterceptingProxy::~InterceptingProxy() = default;

int InterceptingProxy::port() const noexcept {
    return state_->port();
}

std::string InterceptingProxy::url() const {
    return "http://127.0.0.1:" + std::to_string(state_->port());
}

const std::filesystem::path& InterceptingProxy::certificateFile() const noexcept {
    return state_->certificateFile();
}

}  // namespace testsupport
