#include "tests/support/ForkedChild.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {
namespace {

std::string runBody(const std::function<std::string()>& body) {
    try {
        return body();
    } catch (const std::exception& error) {
        return std::string("unexpected exception: ") + error.what();
    }
}

void writeAll(int descriptor, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(descriptor, text.data() + done, text.size() - done);
        if (written <= 0) {
            return;
        }
        done += static_cast<std::size_t>(written);
    }
}

}  // namespace

std::string ForkedChild::run(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        writeAll(fds[1], runBody(body));
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string result;
    char buffer[4096];
    ssize_t count = 0;
    while ((count = ::read(fds[0], buffer, sizeof buffer)) > 0) {
        result.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child failed: " << status;
    return result;
}

}  // namespace testsupport
