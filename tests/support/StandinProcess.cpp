#include "tests/support/StandinProcess.hpp"

#include <csignal>
#include <regex>
#include <stdexcept>

namespace testsupport {

std::string StandinProcess::program() {
    return KESTROVA_STANDIN_PROGRAM;
}

std::vector<std::string> StandinProcess::arguments(const Options& options) {
    std::vector<std::string> arguments{program(), "--port", std::to_string(options.port), "--state-dir",
                                       options.stateDirectory.string()};
    if (options.dataFile) {
        arguments.insert(arguments.end(), {"--data", options.dataFile->string()});
    }
    return arguments;
}

StandinProcess::StandinProcess(const Options& options) : stateDirectory_(options.stateDirectory) {
    process_.emplace(arguments(options));
    const auto line = process_->readLine();
    static const std::regex ready("kestrova-standin: serving https://([a-z.]+):([0-9]+)/.*");
    std::smatch match;
    if (!line || !std::regex_match(*line, match, ready)) {
        const auto outcome = process_->wait();
        process_.reset();
        throw std::runtime_error("the stand-in did not get ready: " + line.value_or("") + outcome.errors);
    }
    domain_ = match[1].str();
    port_ = std::stoi(match[2].str());
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
