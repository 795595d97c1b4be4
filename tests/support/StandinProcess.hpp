#pragma once

#include "tests/support/Subprocess.hpp"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// The local stand-in of the service (tools/standin), started for a test on a
// loopback port with a state directory of the test's own; the constructor
// returns once it prints its ready line, and the destructor stops it. A test
// process that dies takes the stand-in with it.
//
//     ScratchDirectory state;
//     StandinProcess standin({.stateDirectory = state.path()});
//     const foundation::DevelopmentCertificateOverride trust(standin.certificate(), standin.hosts());
//     ... request standin.apiBase() + "/auth" ...
class StandinProcess {
public:
    struct Options {
        std::filesystem::path stateDirectory;
        // 0 takes a free port.
        int port = 0;
        // Default: data.json in the state directory.
        std::optional<std::filesystem::path> dataFile = std::nullopt;
        // Prints "<method> <host> <path> <status>" for every request, read with readLine().
        bool logRequests = false;
        // Prints "loaded <page path>" when a page it served has loaded.
        bool loadBeacon = false;
    };

    // Throws std::runtime_error with what the stand-in printed when it stops
    // instead of getting ready.
    explicit StandinProcess(const Options& options);
    ~StandinProcess();
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;

    [[nodiscard]] int port() const noexcept { return port_; }
    [[nodiscard]] pid_t pid() const noexcept { return process_->pid(); }
    // The domain it serves, "kestrova.localhost".
    [[nodiscard]] const std::string& domain() const noexcept { return domain_; }
    // "https://<host>:<port>" of the production web host, or of "beta" or "api" in front of it.
    [[nodiscard]] std::string origin(const std::string& subdomain = "") const;
    [[nodiscard]] std::string apiBase() const { return origin("api"); }
    // The host names its certificate is for: the domain, "beta." and "api." in front of it, and its
    // foreign site on "www.".
    [[nodiscard]] std::vector<std::string> hosts() const {
        return {domain_, "beta." + domain_, "api." + domain_, "www." + domain_};
    }
    [[nodiscard]] std::string certificate() const { return (stateDirectory_ / "certificate.pem").string(); }

    // The next line it printed after its ready line; no value when none comes within that time.
    std::optional<std::string> readLine(std::chrono::milliseconds within) { return process_->readLine(within); }

    // Stops it with SIGTERM and gives how it ended.
    Subprocess::Outcome stop();

    // The built program, and the command line for the options.
    static std::string program();
    static std::vector<std::string> arguments(const Options& options);

private:
    std::filesystem::path stateDirectory_;
    std::optional<Subprocess> process_;
    std::string domain_;
    int port_ = 0;
};

}  // namespace testsupport
