// `defaults read user` on the heavy cached user beside the sqlite3 shell printing the same value
// from the same file, both to /dev/null, in alternating runs so that both see the same machine.
#include "bench/json_bench/HeavyUser.hpp"
#include "bench/json_bench/TemporaryAppGroup.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "platform/runtime/foundation/defaults/AppGroup.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int runs = 21;

// Runs the program (looked up on PATH) with its output going to /dev/null; the time it took in
// milliseconds, or a negative time when it did not succeed.
double timedRun(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = -1;
    const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    const bool succeeded =
        failed == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
