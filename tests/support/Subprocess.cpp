#include "tests/support/Subprocess.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

extern char** environ;

namespace testsupport {
namespace {

[[noreturn]] void throwSystemError(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

// Appends what one read gives; false at the end of the stream.
bool readSome(int fd, std::string& into) {
    std::array<char, 65536> buffer{};
    for (;;) {
        const ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count > 0) {
            into.append(buffer.data(), static_cast<std::size_t>(count));
            return true;
        }
        if (count == 0) {
            return false;
        }
        if (errno != EINTR) {
            throwSystemError("read from child");
        }
    }
}

void closeIfOpen(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

}  // namespace

Subprocess::Subprocess(const std::vector<std::string>& arguments) {
    int outputPipe[2];
    int errorPipe[2];
    if (::pipe2(outputPipe, O_CLOEXEC) != 0) {
        throwSystemError("pipe");
    }
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        ::close(outputPipe[0]);
        ::close(outputPipe[1]);
        throwSystemError("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outputPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errorPipe[1], STDERR_FILENO);

    std::vector<char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(outputPipe[1]);
    ::close(errorPipe[1]);
    output_ = outputPipe[0];
    errors_ = errorPipe[0];
    if (spawned != 0) {
        closeIfOpen(output_);
        closeIfOpen(errors_);
        throw std::system_error(spawned, std::generic_category(), "spawn " + arguments.at(0));
    }
}

Subprocess::~Subprocess() {
    if (!status_) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    closeIfOpen(output_);
    closeIfOpen(errors_);
}

std::optional<std::string> Subprocess::readLine(std::optional<std::chrono::milliseconds> within) {
    const auto deadline = std::chrono::steady_clock::now() + within.value_or(std::chrono::milliseconds(0));
    for (;;) {
        const auto end = pendingOutput_.find('\n');
        if (end != std::string::npos) {
            std::string line = pendingOutput_.substr(0, end);
            pendingOutput_.erase(0, end + 1);
            return line;
        }
        if (within && output_ >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd readable{output_, POLLIN, 0};
            const int ready = left.count() > 0 ? ::poll(&readable, 1, static_cast<int>(left.count())) : 0;
            if (ready < 0 && errno == EINTR) {
                continue;
            }
            if (ready <= 0) {
                return std::nullopt;
            }
        }
        if (output_ < 0 || !readSome(output_, pendingOutput_)) {
            closeIfOpen(output_);
            return std::nullopt;
        }
    }
}

void Subprocess::kill(int signal) {
    if (!status_) {
        ::kill(pid_, signal);
    }
}

bool Subprocess::running() {
    if (status_) {
        return false;
    }
    int status = 0;
    const pid_t reaped = ::waitpid(pid_, &status, WNOHANG);
    if (reaped < 0) {
        throwSystemError("waitpid");
    }
    if (reaped == pid_) {
        status_ = status;
    }
    return !status_;
}

Subprocess::Outcome Subprocess::wait() {
    Outcome outcome;
    outcome.output = std::move(pendingOutput_);
    pendingOutput_.clear();
    // Both streams are drained together: a child that fills one pipe while
    // the other is read would never end.
    while (output_ >= 0 || errors_ >= 0) {
        std::array<pollfd, 2> fds{{{output_, POLLIN, 0}, {errors_, POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwSystemError("poll");
        }
        if (fds[0].revents != 0 && !readSome(output_, outcome.output)) {
            closeIfOpen(output_);
        }
        if (fds[1].revents != 0 && !readSome(errors_, outcome.errors)) {
            closeIfOpen(errors_);
        }
    }
    int status = status_.value_or(0);
    while (!status_ && ::waitpid(pid_, &status, 0) < 0) {
        if (errno != EINTR) {
            throwSystemError("waitpid");
        }
    }
    status_ = status;
    if (WIFEXITED(status)) {
        outcome.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        outcome.signal = WTERMSIG(status);
    }
    return outcome;
}

Subprocess::Outcome Subprocess::run(const std::vector<std::string>& arguments) {
    return Subprocess(arguments).wait();
}

}  // namespace testsupport
