#include "platform/kits/intents/ExtensionHost.hpp"

#include "platform/kits/intents/ExtensionError.hpp"
#include "platform/kits/intents/ExtensionMessage.hpp"
#include "platform/kits/intents/ExtensionTimeout.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"
#include "platform/kits/intents/Selector.hpp"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace intents {

ExtensionHost::ExtensionHost(std::vector<std::string> command, PrintedLine printed, ExtensionAnswerBounds bounds)
    : printed_(std::move(printed)), bounds_(bounds) {
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
        throw ExtensionError("cannot start the extension " + command[0] + ": " + std::strerror(failed));
    }
    channel_ = sockets[0];
}

ExtensionHost::~ExtensionHost() {
    finish();
}

int ExtensionHost::finish() {
    if (channel_ >= 0) {
        ::shutdown(channel_, SHUT_WR);
        // Whatever the extension still prints is passed on before it ends.
        const auto deadline = Clock::now() + bounds_.query;
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

void ExtensionHost::stop() {
    ::kill(pid_, SIGKILL);
    closeChannel();
    reap();
}

void ExtensionHost::closeChannel() {
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

int ExtensionHost::reap() {
    if (!status_ && pid_ > 0) {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        status_ = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    }
    return status_.value_or(-1);
}

bool ExtensionHost::awaitChannel(short events, Clock::time_point deadline) const {
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

std::string ExtensionHost::endedText() {
    const int status = finish();
    if (status > 128) {
        return "the extension was ended by signal " + std::to_string(status - 128) + " before it answered";
    }
    return "the extension exited with status " + std::to_string(status) + " before it answered";
}

std::optional<HandlerAnswer> ExtensionHost::perform(std::string_view selector, const std::shared_ptr<Intent>& intent) {
    if (channel_ < 0) {
        throw ExtensionError("the extension has ended");
    }
    ExtensionMessage request;
    request.id = nextId_++;
    request.selector = std::string(selector);
    request.intent = intent;
    const std::string line = request.line();
    const auto bound = request.selector == Selector::handle(intent->className()) ? bounds_.handling : bounds_.query;
    const auto deadline = Clock::now() + bound;
    const auto giveUp = [&] {
        stop();
        return ExtensionTimeout(request.selector, bound);
    };
    std::size_t sent = 0;
    while (sent < line.size()) {
        if (!awaitChannel(POLLOUT, deadline)) {
            throw giveUp();
        }
        const ssize_t count =
            ::send(channel_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) {
            continue;
        }
        if (count <= 0) {
            throw ExtensionError(endedText());
        }
        sent += static_cast<std::size_t>(count);
    }
    for (;;) {
        std::size_t end = 0;
        while ((end = pending_.find('\n')) != std::string::npos) {
            const std::string text = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            const auto start = text.find(ExtensionMessage::marker);
            if (start != 0 && printed_) {
                printed_(std::string_view(text).substr(0, start));
            }
            if (start == std::string::npos) {
                continue;
            }
            auto answer = ExtensionMessage::parse(std::string_view(text).substr(start + 1));
            if (answer.id != request.id) {
                if (answer.answer.error) {
                    throw ExtensionError("the extension refused a request: " + *answer.answer.error);
                }
                continue;
            }
            if (!answer.responds) {
                return std::nullopt;
            }
            return std::move(answer.answer);
        }
        if (!awaitChannel(POLLIN, deadline)) {
            throw giveUp();
        }
        char buffer[65536];
        const ssize_t count = ::read(channel_, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            throw ExtensionError(endedText());
        }
        pending_.append(buffer, static_cast<std::size_t>(count));
    }
}

HandlerAnswer ExtensionHost::require(std::string_view selector, const std::shared_ptr<Intent>& intent) {
    auto answer = perform(selector, intent);
    if (!answer) {
        throw ExtensionError("the extension's handler does not respond to " + std::string(selector));
    }
    return std::move(*answer);
}

std::shared_ptr<ResolutionResult> ExtensionHost::resolve(const std::shared_ptr<Intent>& intent,
                                                         std::string_view parameter) {
    const auto selector = Selector::resolve(intent->className(), parameter);
    auto answer = require(selector, intent);
    auto result = std::dynamic_pointer_cast<const ResolutionResult>(answer.object);
    if (!result) {
        throw ExtensionError("the extension answered " + selector + " with no resolution result");
    }
    return std::const_pointer_cast<ResolutionResult>(result);
}

std::shared_ptr<ObjectCollection> ExtensionHost::provideOptions(const std::shared_ptr<Intent>& intent,
                                                                std::string_view parameter) {
    const auto selector = Selector::provideOptionsCollection(intent->className(), parameter);
    auto answer = require(selector, intent);
    if (answer.error) {
        throw ExtensionError("the extension could not provide the options of " + std::string(parameter) + ": " +
                             *answer.error);
    }
    auto collection = std::dynamic_pointer_cast<const ObjectCollection>(answer.object);
    if (!collection) {
        throw ExtensionError("the extension provided no options for " + std::string(parameter));
    }
    return std::const_pointer_cast<ObjectCollection>(collection);
}

std::shared_ptr<Object> ExtensionHost::defaultValue(const std::shared_ptr<Intent>& intent, std::string_view parameter) {
    const auto answer = perform(Selector::defaultValue(intent->className(), parameter), intent);
    if (!answer || !answer->object) {
        return nullptr;
    }
    return std::const_pointer_cast<Object>(std::dynamic_pointer_cast<const Object>(answer->object));
}

std::shared_ptr<IntentResponse> ExtensionHost::handle(const std::shared_ptr<Intent>& intent) {
    const auto selector = Selector::handle(intent->className());
    auto answer = require(selector, intent);
    auto response = std::dynamic_pointer_cast<const IntentResponse>(answer.object);
    if (!response) {
        throw ExtensionError("the extension answered " + selector + " with no response");
    }
    return std::const_pointer_cast<IntentResponse>(response);
}

}  // namespace intents
