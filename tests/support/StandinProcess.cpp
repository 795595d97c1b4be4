#include "tests/support/StandinProcess.hpp"

#include <csignal>
#include <stdexcept>

namespace testsupport {

std::string StandinProcess::program() {
    return KESTROVA_STANDIN_PROGRAM;
}

std::vector<std::string> StandinProcess::arguments(const Options& options) {
    std::vector<std::string> arguments{program(), "--exit-with-parent", "--port", std::to_string(options.port),
                                       "--state-dir", options.stateDirectory.string()};
    if (options.dataFile) {
        arguments.insert(arguments.end(), {"--data", options.dataFile->string()});
    }
    if (options.logRequests) {
        arguments.emplace_back("--log-requests");
    }
    if (options.loadBeacon) {
        arguments.emplace_back("--load-beacon");
    }
    return arguments;
}

StandinProcess::StandinProcess(const Options& options) : stateDirectory_(options.stateDirectory) {
    process_.emplace(arguments(options));
    // "kestrova-standin: serving https://<domain>:<port>/ (...".
    const auto line = process_->readLine();
    constexpr std::string_view ready = "kestrova-standin: serving https://";
    const auto colon = line ? line->find(':', ready.size()) : std::string::npos;
    if (!line || !line->starts_with(ready) || colon == std::string::npos) {
        const auto outcome = process_->wait();
        process_.reset();
        throw std::runtime_error("the stand-in did not get ready: " + line.value_or("") + outcome.errors);
    }
    domain_ = line->substr(ready.size(), colon - ready.size());
    port_ = std::stoi(line->substr(colon + 1));
}

StandinProcess::~StandinProcess() {
    if (process_) {
        stop();
    }
}

std::string StandinProcess::origin(const std::string& subdomain) const {
    return "https://" + (subdomain.empty() ? domain_ : subdomain + "." + domain_) + ":" + std::to_string(port_);
}

Subprocess::Outcome StandinProcess::stop() {
    process_->kill(SIGTERM);
    auto outcome = process_->wait();
    process_.reset();
    return outcome;
}

}  // namespace testsupport
