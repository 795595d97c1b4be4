#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// A child process started from a test, with standard input from /dev/null and
// its standard output and error captured. It inherits the test's environment,
// so a test points it at a suite by setting KESTROVA_APP_GROUP_DIR first.
class Subprocess {
public:
    struct Outcome {
        int exitCode = -1;  // -1 when a signal ended the child
        int signal = 0;
        std::string output;
        std::string errors;
    };

    // arguments[0] is the program's path. Throws std::system_error when the
    // child cannot be started.
    explicit Subprocess(const std::vector<std::string>& arguments);
    // A child that is still running is killed and reaped.
    ~Subprocess();
    Subprocess(const Subprocess&) = delete;
    Subprocess& operator=(const Subprocess&) = delete;

    [[nodiscard]] pid_t pid() const noexcept { return pid_; }

    // The next line of the child's standard output, without its line break;
    // no value once the output has ended, or when no whole line has come
    // `within` that time (when given).
    std::optional<std::string> readLine(std::optional<std::chrono::milliseconds> within = std::nullopt);
    void kill(int signal);
    // False once the child has ended; it is reaped then, and wait() still
    // gives its outcome.
    bool running();
    // Reads the rest of both streams, then waits for the child to end.
    Outcome wait();

    static Outcome run(const std::vector<std::string>& arguments);

private:
    pid_t pid_ = -1;
    int output_ = -1;
    int errors_ = -1;
    std::string pendingOutput_;
    std::optional<int> status_;  // once reaped
};

}  // namespace testsupport
