#include "platform/backends/desktop/ApplicationLauncher.hpp"

#include "platform/backends/desktop/HandedOverLaunch.hpp"
#include "platform/backends/desktop/RunningInstance.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <iostream>
#include <system_error>
#include <utility>

namespace desktop {

ApplicationLauncher::ApplicationLauncher(std::string applicationId, std::filesystem::path program)
    : applicationId_(std::move(applicationId)), program_(std::move(program)) {}

int ApplicationLauncher::run(int argc, char** argv) const {
    try {
        if (const auto launch = HandedOverLaunch::fromCommandLine(argc, argv);
            launch && RunningInstance(applicationId_).handOver(*launch) == RunningInstance::HandOver::delivered) {
            return 0;
        }
    } catch (const std::exception& failure) {
        // An unreadable argument, or an instance that refused the launch: nothing was handed over.
        std::cerr << program_.filename().string() << ": " << failure.what() << '\n';
        return 1;
    }
    return becomeApplication(argv);
}

int ApplicationLauncher::becomeApplication(char** argv) const {
    std::error_code error;
    const std::filesystem::path launcher = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string name = program_.filename().string();
    if (error) {
        std::cerr << name << ": cannot find the application's program: /proc/self/exe: " << error.message() << '\n';
        return 1;
    }
    const std::filesystem::path program = (launcher.parent_path() / program_).lexically_normal();
    ::execv(program.c_str(), argv);
    std::cerr << name << ": cannot start the application's program " << program.string() << ": " << std::strerror(errno)
              << '\n';
    return 1;
}

}  // namespace desktop
