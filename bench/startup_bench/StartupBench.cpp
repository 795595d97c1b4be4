// Start-up of the application beside the bare web engine: the time from exec to the first finished
// load of the start page, and the resident memory of the process at that moment. Then the hand-off of
// a second launch beside a bare GtkApplication of the same id: with the primary instance running, the
// time from exec of `<program> <link>` to its end.
//
// Both programs load the same page of the stand-in service, which this bench starts with its load
// beacon on: the page reports its own load event back to the service, so the finish line is the
// same for both and neither program is instrumented. Runs alternate between the two, each with
// fresh caches and configuration, under the display and session bus the bench is started in.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// What the hand-off runs hand over: a link the window takes without loading a page, so that the stand-in's
// load beacon hears only the start-up runs.
constexpr const char* handedOverLink = "kestrova:///create-entry?journalId=1";

struct Options {
    std::string application;
    std::string floor;
    std::string handoffFloor;
    std::string standin;
    std::string startURL;
    int port = 0;
    int runs = 7;
    int handoffRuns = 21;
};

// A started program; killed and reaped when it goes.
class Child {
public:
    Child(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& environment,
          bool captureOutput) {
        std::vector<std::string> entries;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string text = *entry;
            if (!environment.contains(text.substr(0, text.find('=')))) {
                entries.push_back(text);
            }
        }
        for (const auto& [name, value] : environment) {
            entries.push_back(name + "=" + value);
        }
        std::vector<char*> argv;
        for (const auto& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (auto& entry : entries) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        int pipe[2] = {-1, -1};
        if (captureOutput) {
            if (::pipe2(pipe, O_CLOEXEC) != 0) {
                throw std::runtime_error("pipe: " + std::string(std::strerror(errno)));
            }
            posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
        } else {
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        }
        const int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (captureOutput) {
            ::close(pipe[1]);
            output_ = pipe[0];
        }
        if (failed != 0) {
            throw std::runtime_error(arguments[0] + ": " + std::strerror(failed));
        }
    }
    ~Child() {
        stop();
        if (output_ >= 0) {
            ::close(output_);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    [[nodiscard]] pid_t pid() const noexcept { return pid_; }

    // Waits for the program to end by itself; its exit status, or -1 when a signal ended it.
    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The next line of standard output, or none when `deadline` passes or the output ends.
    std::optional<std::string> readLine(Clock::time_point deadline) {
        while (true) {
            if (const auto end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return std::nullopt;
            }
            pollfd readable{output_, POLLIN, 0};
            if (::poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
                continue;
            }
            char chunk[4096];
            const ssize_t count = ::read(output_, chunk, sizeof chunk);
            if (count <= 0) {
                return std::nullopt;
            }
            buffer_.append(chunk, static_cast<std::size_t>(count));
        }
    }

    void stop() {
        if (pid_ <= 0) {
            return;
        }
        ::kill(pid_, SIGTERM);
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        int status = 0;
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (Clock::now() > deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
                break;
            }
            ::usleep(10'000);
        }
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string buffer_;
};

// VmRSS of a running process, in KiB.
long residentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

struct Sample {
    double milliseconds;
    long residentKilobytes;
};

class Bench {
public:
    explicit Bench(Options options) : options_(std::move(options)) {
        scratch_ = std::filesystem::temp_directory_path() / ("startup-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(scratch_);
        standin_.emplace(std::vector<std::string>{options_.standin, "--port", std::to_string(options_.port),
                                                  "--state-dir", (scratch_ / "standin").string(), "--load-beacon"},
                         std::map<std::string, std::string>{}, true);
        const auto ready = standin_->readLine(Clock::now() + std::chrono::seconds(30));
        if (!ready) {
            throw std::runtime_error("the stand-in service did not start (is its port " +
                                     std::to_string(options_.port) + " in use?)");
        }
        certificate_ = (scratch_ / "standin" / "certificate.pem").string();
    }
    ~Bench() {
        standin_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(scratch_, ignored);
    }
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    Sample run(const std::vector<std::string>& command, int index) {
        const auto start = Clock::now();
        Child program(command, freshHome(index), false);
        waitForStartPage(command[0], start);
        const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        return {elapsed, residentKilobytes(program.pid())};
    }

    // With `primary` running in a fresh home, the wall time of each of `runs` launches of `program` with
    // a link, from exec to its end. The application as primary is ready once its start page has loaded,
    // the floor once it says so.
    std::vector<double> handOffs(const std::vector<std::string>& primary, bool primarySaysReady,
                                 const std::string& program, int runs, int index) {
        const auto environment = freshHome(index);
        const auto start = Clock::now();
        Child running(primary, environment, primarySaysReady);
        if (primarySaysReady) {
            if (running.readLine(start + std::chrono::seconds(60)) != "ready") {
                throw std::runtime_error(primary[0] + " did not become the primary instance within a minute");
            }
        } else {
            waitForStartPage(primary[0], start);
        }
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            const auto launched = Clock::now();
            Child second({program, handedOverLink}, environment, false);
            if (const int status = second.wait(); status != 0) {
                throw std::runtime_error(program + " handed the link over with the status " + std::to_string(status));
            }
            times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - launched).count());
        }
        return times;
    }

private:
    std::map<std::string, std::string> freshHome(int index) const {
        const auto home = scratch_ / ("run-" + std::to_string(index));
        for (const char* folder : {"config", "cache", "data", "state", "group"}) {
            std::filesystem::create_directories(home / folder);
        }
        return {
            {"HOME", home.string()},
            {"XDG_CONFIG_HOME", (home / "config").string()},
            {"XDG_CACHE_HOME", (home / "cache").string()},
            {"XDG_DATA_HOME", (home / "data").string()},
            {"XDG_STATE_HOME", (home / "state").string()},
            {"KESTROVA_APP_GROUP_DIR", (home / "group").string()},
            {"KESTROVA_DEV_CERTIFICATE", certificate_},
        };
    }

    void waitForStartPage(const std::string& program, Clock::time_point start) {
        const auto deadline = start + std::chrono::seconds(60);
        while (const auto line = standin_->readLine(deadline)) {
            if (line->rfind("loaded ", 0) == 0) {
                return;
            }
        }
        throw std::runtime_error(program + " did not finish loading the start page within a minute");
    }

    Options options_;
    std::filesystem::path scratch_;
    std::optional<Child> standin_;
    std::string certificate_;
};

struct Summary {
    double median, low, high;
};

Summary summarise(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    const double median = values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    return {median, values.front(), values.back()};
}

std::string describe(const Summary& summary, const char* unit) {
    std::ostringstream text;
    text.setf(std::ios::fixed);
    text.precision(1);
    text << summary.median << " " << unit << " (" << summary.low << "–" << summary.high << ")";
    return text.str();
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--application") options.application = value;
        else if (name == "--floor") options.floor = value;
        else if (name == "--handoff-floor") options.handoffFloor = value;
        else if (name == "--standin") options.standin = value;
        else if (name == "--url") options.startURL = value;
        else if (name == "--port") options.port = std::stoi(value);
        else if (name == "--runs") options.runs = std::stoi(value);
        else if (name == "--handoff-runs") options.handoffRuns = std::stoi(value);
        else throw std::invalid_argument("unknown option " + name);
    }
    if (options.application.empty() || options.floor.empty() || options.handoffFloor.empty() ||
        options.standin.empty() || options.startURL.empty() || options.port == 0 || options.runs < 1 ||
        options.handoffRuns < 1) {
        throw std::invalid_argument(
            "usage: startup_bench --application PATH --floor PATH --handoff-floor PATH --standin PATH --url START_URL "
            "--port PORT [--runs N] [--handoff-runs N]");
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Options options = parse(argc, argv);
        Bench bench(options);
        std::vector<double> floorTimes, applicationTimes, floorMemory, applicationMemory;
        for (int index = 0; index < options.runs; ++index) {
            const Sample floor = bench.run({options.floor, options.startURL}, 2 * index);
            const Sample application = bench.run({options.application}, 2 * index + 1);
            floorTimes.push_back(floor.milliseconds);
            applicationTimes.push_back(application.milliseconds);
            floorMemory.push_back(static_cast<double>(floor.residentKilobytes) / 1024.0);
            applicationMemory.push_back(static_cast<double>(application.residentKilobytes) / 1024.0);
        }
        const Summary floorTime = summarise(floorTimes), applicationTime = summarise(applicationTimes);
        const Summary floorResident = summarise(floorMemory), applicationResident = summarise(applicationMemory);
        std::cout << "start page: " << options.startURL << ", " << options.runs << " runs each\n"
                  << "bare engine: " << describe(floorTime, "ms") << ", resident " << describe(floorResident, "MiB")
                  << "\n"
                  << "application: " << describe(applicationTime, "ms") << ", resident "
                  << describe(applicationResident, "MiB") << "\n";
        std::printf("start-up ratio (medians): %.2f (target at most 1.20)\n",
                    applicationTime.median / floorTime.median);
        std::printf("resident memory above the bare engine (medians): %.1f MiB (target at most 30)\n",
                    applicationResident.median - floorResident.median);

        const Summary floorHandOff = summarise(
            bench.handOffs({options.handoffFloor}, true, options.handoffFloor, options.handoffRuns, 2 * options.runs));
        const Summary applicationHandOff = summarise(
            bench.handOffs({options.application}, false, options.application, options.handoffRuns, 2 * options.runs + 1));
        std::cout << "hand-off of " << handedOverLink << " to the running instance, " << options.handoffRuns
                  << " runs each\n"
                  << "bare GtkApplication: " << describe(floorHandOff, "ms") << "\n"
                  << "application: " << describe(applicationHandOff, "ms") << "\n";
        std::printf("hand-off ratio (medians): %.2f (target at most 1.50)\n",
                    applicationHandOff.median / floorHandOff.median);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "startup_bench: " << error.what() << "\n";
        return 1;
    }
}
