#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace standin {

// The command line: --port (default defaultPort; 0 takes a free port),
// --state-dir (default $XDG_STATE_HOME/kestrova-standin, else ~/.local/state/...) and
// --data (default data.json in the state directory); --exit-with-parent stops
// it when the process that started it ends, however that ends (tests);
// --log-requests and --load-beacon, for tests and benchmarks, add lines to
// standard output.
struct StandinOptions {
    struct UsageError : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    // The port of the build's service when it has one, where the build's
    // application looks for the service; else 8443.
    static const int defaultPort;

    int port = defaultPort;
    std::filesystem::path stateDirectory;
    std::filesystem::path dataFile;
    bool exitWithParent = false;
    // A line "<method> <host> <path> <status>" for every request answered.
    bool logRequests = false;
    // Every page reports its own load event back; each report is a line
    // "loaded <page path>".
    bool loadBeacon = false;
    bool help = false;

    // Throws UsageError for an unknown option, a missing value or a port
    // outside 0 to 65535.
    static StandinOptions parse(const std::vector<std::string>& arguments);
    static std::string usage();
};

}  // namespace standin
