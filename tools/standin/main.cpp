// kestrova-standin: the service on this machine, for development, showing
// the application and end-to-end tests. See StandinOptions.cpp for the usage.

#include "tools/standin/OutputLine.hpp"
#include "tools/standin/StandinOptions.hpp"
#include "tools/standin/StandinServer.hpp"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <pthread.h>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv) {
    standin::StandinOptions options;
    try {
        options = standin::StandinOptions::parse({argv + 1, argv + argc});
    } catch (const standin::StandinOptions::UsageError& error) {
        std::fprintf(stderr, "kestrova-standin: %s\n%s", error.what(), standin::StandinOptions::usage().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(standin::StandinOptions::usage().c_str(), stdout);
        return 0;
    }

    // Blocked before any thread starts, so that every thread inherits the
    // mask and only the waiter below takes the signals.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    if (options.exitWithParent) {
        // The parent's end comes as SIGTERM, and so as a clean stop; one that
        // ended before the request was made shows as a new parent.
        const pid_t parent = getppid();
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            return 0;
        }
    }

    try {
        std::error_code ignored;
        std::filesystem::create_directories(options.stateDirectory);
        std::filesystem::permissions(options.stateDirectory, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, ignored);
        standin::StandinServer server({.port = options.port,
                                       .stateDirectory = options.stateDirectory,
                                       .dataFile = options.dataFile,
                                       .pagesDirectory = KESTROVA_STANDIN_PAGES,
                                       .logRequests = options.logRequests,
                                       .loadBeacon = options.loadBeacon});
        std::atomic<bool> finished = false;
        std::thread waiter([&] {
            int signal = 0;
            sigwait(&stopSignals, &signal);
            // A signal that comes before the server loop runs would find
            // nothing to stop.
            while (!server.isRunning() && !finished) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            server.stop();
        });
        const auto& addresses = server.addresses();
        standin::printOutputLine("kestrova-standin: serving " + addresses.origin(addresses.domain) + "/ (beta " +
                                 addresses.origin(addresses.betaHost()) + "/, API " + addresses.apiBase() +
                                 ", another site " + addresses.origin(addresses.foreignHost()) +
                                 "/) with the certificate " + server.certificate().certificateFile.string());
        server.run();
        finished = true;
        pthread_kill(waiter.native_handle(), SIGTERM);
        waiter.join();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kestrova-standin: %s\n", error.what());
        return 1;
    }
    return 0;
}
