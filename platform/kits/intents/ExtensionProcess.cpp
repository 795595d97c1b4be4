#include "platform/kits/intents/ExtensionProcess.hpp"

#include "platform/kits/intents/ExtensionError.hpp"
#include "platform/kits/intents/ExtensionMessage.hpp"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

extern char** environ;

namespace intents {

ExtensionProcess::ExtensionProcess(std::vector<std::string> command, PrintedLine printed)
    : printed_(std::move(printed)) {
    if (command.empty()) {
        throw ExtensionError("no extension to start");
    }
    int sockets[2];
    // One socket pair for both directions: sends that find the extension gone
    // fail with EPIPE instead of killing the host with SIGPIPE.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
        throw ExtensionError(std::string("cannot make the extension's channel: ") + std::strerror(errno));
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, sockets[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, sockets[1], STDOUT_FILENO);
    std::vector<char*> arguments;
    for (auto& argument : command) {
        arguments.push_back(argument.data());
    }
    arguments.push_back(nullptr);
    const int failed = ::posix_spawn(&pid_, command[0].c_str(), &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(sockets[1]);
    if (failed != 0) {
        ::close(sockets[0]);
        pid_ = -1;
        throw ExtensionError("cannot start the extension " + command[0] + ": " + std::strerror(failed));
    }
    channel_ = sockets[0];
}

ExtensionProcess::~ExtensionProcess() {
    if (channel_ >= 0) {
        stop();
    }
    reap();
}

ExtensionProcess::Outcome ExtensionProcess::send(std::string_view line, Clock::time_point deadline) {
    if (channel_ < 0) {
        return Outcome::ended;
    }
    std::size_t sent = 0;
    while (sent < line.size()) {
        if (!awaitChannel(POLLOUT, deadline)) {
            return Outcome::timedOut;
        }
        const ssize_t count = ::send(channel_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) {
            continue;
        }
        if (count <= 0) {
            return Outcome::ended;
        }
        sent += static_cast<std::size_t>(count);
    }
    return Outcome::done;
}

ExtensionProcess::Received ExtensionProcess::receive(Clock::time_point deadline) {
    if (channel_ < 0) {
        return {Outcome::ended, {}};
    }
    for (;;) {
        std::size_t end = 0;
        while ((end = pending_.find('\n')) != std::string::npos) {
            std::string text = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            const auto start = text.find(ExtensionMessage::marker);
            if (start != 0 && printed_) {
                printed_(std::string_view(text).substr(0, start));
            }
            if (start != std::string::npos) {
                return {Outcome::done, text.substr(start + 1)};
            }
        }
        if (!awaitChannel(POLLIN, deadline)) {
            return {Outcome::timedOut, {}};
        }
        char buffer[65536];
        const ssize_t count = ::read(channel_, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return {Outcome::ended, {}};
        }
        pending_.append(buffer, static_cast<std::size_t>(count));
    }
}

int ExtensionProcess::finish(std::chrono::milliseconds bound) {
    if (channel_ >= 0) {
        ::shutdown(channel_, SHUT_WR);
        // Whatever the extension still prints is passed on before it ends.
        const auto deadline = Clock::now() + bound;
        bool ended = false;
        while (!ended && awaitChannel(POLLIN, deadline)) {
            char buffer[4096];
            const ssize_t count = ::read(channel_, buffer, sizeof buffer);
            if (count > 0) {
                pending_.append(buffer, static_cast<std::size_t>(count));
            } else if (count == 0 || errno != EINTR) {
                ended = true;
            }
        }
        if (!ended) {
            ::kill(pid_, SIGKILL);
        }
        closeChannel();
    }
    return reap();
}

void ExtensionProcess::stop() {
    if (pid_ > 0 && !status_) {
        ::kill(pid_, SIGKILL);
    }
    if (channel_ >= 0) {
        closeChannel();
    }
    reap();
}

std::string ExtensionProcess::endedText(std::chrono::milliseconds bound) {
    const int status = finish(bound);
    if (status > 128) {
        return "the extension was ended by signal " + std::to_string(status - 128) + " before it answered";
    }
    return "the extension exited with status " + std::to_string(status) + " before it answered";
}

void ExtensionProcess::closeChannel() {
    std::size_t end = 0;
    while ((end = pending_.find('\n')) != std::string::npos) {
        const std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        if (line.find(ExtensionMessage::marker) == std::string::npos && printed_) {
            printed_(line);
        }
    }
    // A last line without its line break is still the extension's output.
    if (!pending_.empty() && pending_.find(ExtensionMessage::marker) == std::string::npos && printed_) {
        printed_(pending_);
    }
    pending_.clear();
    ::close(channel_);
    channel_ = -1;
}

int ExtensionProcess::reap() {
    if (!status_ && pid_ > 0) {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        status_ = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    }
    return status_.value_or(-1);
}

bool ExtensionProcess::awaitChannel(short events, Clock::time_point deadline) const {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd descriptor{.fd = channel_, .events = events, .revents = 0};
        const int ready = ::poll(&descriptor, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
        // An error or a hang-up counts as ready: the read or send that
        // follows says what became of the extension.
        if (ready > 0 || (ready < 0 && errno != EINTR)) {
            return true;
        }
        if (ready == 0 && Clock::now() >= deadline) {
            return false;
        }
    }
}

}  // namespace intents
