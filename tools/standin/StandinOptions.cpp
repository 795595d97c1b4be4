#include "tools/standin/StandinOptions.hpp"

#include <charconv>
#include <cstdlib>

namespace standin {
namespace {

std::filesystem::path defaultStateDirectory() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
        return std::filesystem::path(state) / "kestrova-standin";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home != '/') {
        throw StandinOptions::UsageError("neither XDG_STATE_HOME nor HOME is set: give --state-dir");
    }
    return std::filesystem::path(home) / ".local/state/kestrova-standin";
}

}  // namespace

const int StandinOptions::defaultPort = KESTROVA_STANDIN_DEFAULT_PORT;

std::string StandinOptions::usage() {
    return "usage: kestrova-standin [--port N] [--state-dir DIR] [--data FILE] [--exit-with-parent] [--log-requests]\n"
           "                        [--load-beacon]\n"
           "Serves the service's API and web front end for the domain \"kestrova.localhost\" on 127.0.0.1 over\n"
           "HTTPS: https://kestrova.localhost:N/, https://beta.kestrova.localhost:N/ and\n"
           "https://api.kestrova.localhost:N/, and another site at https://www.kestrova.localhost:N/\n"
           "(N " +
           std::to_string(defaultPort) +
           " unless given; 0 takes a free port). The certificate is made on the first run in the state\n"
           "directory ($XDG_STATE_HOME/kestrova-standin); the data file (default DIR/data.json) keeps what\n"
           "clients post. Sign in as demo, password demo.\n"
           "--log-requests prints \"<method> <host> <path> <status>\" for every request; --load-beacon makes\n"
           "every page report its load event, printed as \"loaded <page path>\".\n"
           "For tests and demonstrations, /login#sign-in signs in at once, a page opened with #sign-out signs\n"
           "out, one opened with #link-cover=PATH (percent-encoded) covers itself with one link to PATH, and a\n"
           "journal's page opened with #publish publishes a text entry in it.\n";
}

StandinOptions StandinOptions::parse(const std::vector<std::string>& arguments) {
    StandinOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const auto& option = arguments[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option == "--exit-with-parent") {
            options.exitWithParent = true;
            continue;
        }
        if (option == "--log-requests" || option == "--load-beacon") {
            (option == "--log-requests" ? options.logRequests : options.loadBeacon) = true;
            continue;
        }
        if (option != "--port" && option != "--state-dir" && option != "--data") {
            throw UsageError("unknown option " + option);
        }
        if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
            throw UsageError(option + " needs a value");
        }
        const auto& value = arguments[++i];
        if (option == "--port") {
            const auto [end, fault] = std::from_chars(value.data(), value.data() + value.size(), options.port);
            if (fault != std::errc() || end != value.data() + value.size() || options.port < 0 ||
                options.port > 65535) {
                throw UsageError("--port takes a number from 0 to 65535, not " + value);
            }
        } else if (option == "--state-dir") {
            options.stateDirectory = value;
        } else {
            options.dataFile = value;
        }
    }
    if (options.stateDirectory.empty()) {
        options.stateDirectory = defaultStateDirectory();
    }
    if (options.dataFile.empty()) {
        options.dataFile = options.stateDirectory / "data.json";
    }
    return options;
}

}  // namespace standin
