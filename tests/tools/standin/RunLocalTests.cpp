// scripts/run-local, which `make run` runs: against a build directory of the test's own, whose
// application is a script that notes how it was started and asks the stand-in for /auth.

#include "tests/support/ScopedEnvironment.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/StandinProcess.hpp"
#include "tests/support/Subprocess.hpp"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testsupport::ScratchDirectory;
using testsupport::StandinProcess;
using testsupport::Subprocess;

// A loopback port that nothing listens on now: a build's port is fixed, and the test's must not
// be one that another test or a developer's stand-in uses.
int freePort() {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    EXPECT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length), 0);
    ::close(socket);
    return ntohs(address.sin_port);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The pid in "run-local: started the stand-in (pid N, ...", or 0.
pid_t startedStandin(const std::string& output) {
    constexpr std::string_view marker = "started the stand-in (pid ";
    const auto at = output.find(marker);
    return at == std::string::npos ? 0 : std::stoi(output.substr(at + marker.size()));
}

class RunLocalTest : public testing::Test {
protected:
    RunLocalTest() {
        environment_.set("XDG_STATE_HOME", (scratch_ / "state").string());
        std::filesystem::create_directories(build_ / "tools/standin");
        std::filesystem::create_directories(build_ / "kestrova");
        std::filesystem::create_symlink(StandinProcess::program(), build_ / "tools/standin/kestrova-standin");
        scratch_.write("build/CMakeCache.txt", "KESTROVA_SERVICE_DOMAIN:STRING=kestrova.localhost\n"
                                               "KESTROVA_SERVICE_PORT:STRING=" +
                                                   std::to_string(port_) + "\n");
        const auto application = scratch_.write(
            "build/kestrova/kestrova",
            "#!/bin/sh\n"
            "printf '%s\\n' \"$@\" > \"$0.arguments\"\n"
            "curl -s -o /dev/null -w '%{http_code} ' --cacert \"$KESTROVA_DEV_CERTIFICATE\" "
            "https://api.kestrova.localhost:" +
                std::to_string(port_) +
                "/auth > \"$0.answer\"\n"
                "echo \"$KESTROVA_DEV_CERTIFICATE\" >> \"$0.answer\"\n");
        std::filesystem::permissions(application, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    }

    Subprocess::Outcome runLocal(std::vector<std::string> arguments) {
        std::filesystem::remove(build_ / "kestrova/kestrova.arguments");
        std::filesystem::remove(build_ / "kestrova/kestrova.answer");
        arguments.insert(arguments.begin(), RUN_LOCAL_SCRIPT);
        return Subprocess::run(arguments);
    }

    // What the application got: its arguments, and the stand-in's answer to /auth with the
    // certificate it was told to trust, followed by that certificate's path.
    std::string applicationArguments() const { return readIfThere(build_ / "kestrova/kestrova.arguments"); }
    std::string applicationAnswer() const { return readIfThere(build_ / "kestrova/kestrova.answer"); }

    static std::string readIfThere(const std::filesystem::path& file) {
        return std::filesystem::exists(file) ? ScratchDirectory::read(file) : "(none)";
    }

    std::filesystem::path standinState() const { return scratch_ / "state/kestrova-standin"; }

    ScratchDirectory scratch_;
    std::filesystem::path build_ = scratch_ / "build";
    testsupport::ScopedEnvironment environment_;
    int port_ = freePort();
};

TEST_F(RunLocalTest, EachRunStartsAStandinWithItsOptionsStopsItAfterTheApplicationAndKeepsTheLog) {
    for (int run = 1; run <= 2; ++run) {
        const auto outcome = runLocal({"--build", build_.string(), "--standin", "--log-requests", "--",
                                       "kestrova:///open?url=x", "--two words"});
        ASSERT_EQ(outcome.exitCode, 0) << outcome.output << outcome.errors;
        EXPECT_EQ(applicationArguments(), "kestrova:///open?url=x\n--two words\n");
        EXPECT_EQ(applicationAnswer(), "401 " + (standinState() / "certificate.pem").string() + "\n");
        // Stopped and reaped once the application has quit.
        const pid_t standin = startedStandin(outcome.output);
        ASSERT_NE(standin, 0) << outcome.output;
        EXPECT_EQ(::kill(standin, 0), -1);
        EXPECT_EQ(errno, ESRCH);
    }
    const auto log = linesOf(ScratchDirectory::read(standinState() / "standin.log"));
    const auto count = [&](const std::string& start) {
        return std::ranges::count_if(log, [&](const std::string& line) { return line.starts_with(start); });
    };
    EXPECT_EQ(count("=== "), 2);
    EXPECT_EQ(std::ranges::count_if(log,
                                    [](const std::string& line) {
                                        return line.starts_with("=== ") &&
                                               line.ends_with(" --exit-with-parent --log-requests") &&
                                               line.find(": run-local started ") != std::string::npos;
                                    }),
              2);
    EXPECT_EQ(count("kestrova-standin: serving https://kestrova.localhost:" + std::to_string(port_) + "/"), 2);
    EXPECT_EQ(count("GET api.kestrova.localhost:" + std::to_string(port_) + " /auth 401"), 2);
}

TEST_F(RunLocalTest, AStandinThatAlreadyAnswersIsReusedAndCannotTakeOptions) {
    StandinProcess running({.stateDirectory = standinState(), .port = port_});
    const auto reused = runLocal({"--build", build_.string()});
    ASSERT_EQ(reused.exitCode, 0) << reused.output << reused.errors;
    EXPECT_NE(reused.output.find("reused the stand-in at https://kestrova.localhost:" + std::to_string(port_) + "/"),
              std::string::npos)
        << reused.output;
    EXPECT_EQ(applicationArguments(), "\n");
    EXPECT_TRUE(applicationAnswer().starts_with("401 ")) << applicationAnswer();

    const auto refused = runLocal({"--build", build_.string(), "--standin", "--log-requests"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.errors.find("cannot take --log-requests; stop it first"), std::string::npos) << refused.errors;
    EXPECT_EQ(applicationArguments(), "(none)");
}

TEST_F(RunLocalTest, ACommandLineItCannotUseIsRefusedWithTheReason) {
    const auto help = runLocal({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.starts_with("usage: scripts/run-local")) << help.output;

    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string reason;
    };
    const std::string build = build_.string();
    const std::vector<Case> cases = {
        {{"--build", build, "kestrova:///open"}, 2, "unknown argument kestrova:///open"},
        {{"--build"}, 2, "--build needs a directory"},
        {{"--build", build, "--standin"}, 2, "--standin needs an option"},
        {{"--build", build, "--standin", "--port", "--standin", "1"}, 2, "run-local gives the stand-in its port"},
        {{"--build", build, "--standin", "--state-dir", "--standin", "/tmp"}, 2, "its port, state directory"},
        {{"--build", (scratch_ / "nothing").string()}, 1, "is no configured build directory"},
    };
    for (const auto& c : cases) {
        const auto outcome = runLocal(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.reason;
        EXPECT_NE(outcome.errors.find(c.reason), std::string::npos) << outcome.errors;
        EXPECT_EQ(outcome.errors.find("usage: scripts/run-local") != std::string::npos, c.exitCode == 2)
            << outcome.errors;
    }
    EXPECT_EQ(applicationArguments(), "(none)");
    EXPECT_FALSE(std::filesystem::exists(standinState()));
}

}  // namespace
