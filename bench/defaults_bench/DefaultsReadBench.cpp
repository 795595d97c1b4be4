// `defaults read user` on the heavy cached user beside the sqlite3 shell printing the same value
// from the same file, both to /dev/null, in alternating runs so that both see the same machine.
#include "bench/json_bench/HeavyUser.hpp"
#include "bench/json_bench/TemporaryAppGroup.hpp"
#include "bench/support/QuietRun.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "platform/runtime/foundation/defaults/AppGroup.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int runs = 21;

// The time the program took in milliseconds, or a negative time when it did not succeed.
double timedRun(const std::vector<std::string>& arguments) {
    const auto start = std::chrono::steady_clock::now();
    const bool succeeded = bench::runQuietly(arguments);
    const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return succeeded ? elapsed : -1;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    const bench::TemporaryAppGroup group;
    kestrova::AppGroupDefaults::shared().saveUser(bench::makeHeavyUser(300, 9));
    const auto database = foundation::UserDefaults::databaseFile(foundation::AppGroup::identifier()).string();
    const std::vector<std::string> tool{KESTROVA_DEFAULTS_TOOL_PATH, "read", "user"};
    const std::vector<std::string> shell{"sqlite3", database, "SELECT value FROM defaults WHERE key = 'user'"};

    std::vector<double> toolTimes;
    std::vector<double> shellTimes;
    for (int i = 0; i < runs; ++i) {
        toolTimes.push_back(timedRun(tool));
        shellTimes.push_back(timedRun(shell));
        if (toolTimes.back() < 0 || shellTimes.back() < 0) {
            std::fprintf(stderr, "defaults_bench: %s failed\n", toolTimes.back() < 0 ? "defaults read user" : "sqlite3");
            return 1;
        }
    }
    const double toolMedian = median(toolTimes);
    const double shellMedian = median(shellTimes);
    std::printf("cached user: %ju bytes in %s\n", static_cast<std::uintmax_t>(std::filesystem::file_size(database)),
                database.c_str());
    std::printf("defaults read user > /dev/null: median %.2f ms of %d\n", toolMedian, runs);
    std::printf("sqlite3 SELECT value ... > /dev/null: median %.2f ms of %d\n", shellMedian, runs);
    std::printf("defaults ÷ sqlite3: %.2f×\n", toolMedian / shellMedian);
    return 0;
}
