// A process of the cross-process defaults tests. It opens the suite named on
// its command line in the app-group directory it inherits, and
//   write TAG COUNT   replaces the shared key COUNT times with values of its own;
//   read COUNT        reads the shared key COUNT times and checks every value
//                     is whole and no writer's sequence goes back;
//   stream TAG        writes values until it is killed: each one under a key of
//                     its own and then under the shared key, and reports each
//                     sequence number on standard output once both are committed;
//   create TAG GO     reports "ready", waits until the file GO exists, then opens
//                     the suite (the first opening of all, in a race test) and
//                     stores TAG under a key of its own.
// It exits 0 when all went well, 1 with a message on standard error when not.

#include "tests/platform/runtime/foundation/PeerValue.hpp"

#include "platform/runtime/foundation/defaults/UserDefaults.hpp"

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <exception>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

using defaults_test::PeerValue;
using foundation::UserDefaults;

// Never reached in a test, which kills the stream long before; it only bounds
// a stream whose test died without killing it.
constexpr std::uint32_t streamLimit = 500;

void report(std::string_view line) {
    // One write(2) per report, unbuffered, so that what the test reads is
    // exactly what happened before.
    if (::write(STDOUT_FILENO, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        throw std::runtime_error("cannot report to the test");
    }
}

void write(UserDefaults& defaults, std::uint32_t tag, std::uint32_t count) {
    for (std::uint32_t sequence = 1; sequence <= count; ++sequence) {
        defaults.set(PeerValue::make({tag, sequence}), PeerValue::sharedKey);
    }
}

int read(const UserDefaults& defaults, std::uint32_t count) {
    std::map<std::uint32_t, std::uint32_t> lastSequence;
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto data = defaults.data(PeerValue::sharedKey);
        if (!data) {
            continue;
        }
        const auto identity = PeerValue::identify(*data);
        if (!identity) {
            std::cerr << "read a damaged value of " << data->size() << " bytes\n";
            return 1;
        }
        auto& last = lastSequence[identity->tag];
        if (identity->sequence < last) {
            std::cerr << "writer " << identity->tag << " went back from " << last << " to "
                      << identity->sequence << "\n";
            return 1;
        }
        last = identity->sequence;
    }
    return 0;
}

void stream(UserDefaults& defaults, std::uint32_t tag) {
    for (std::uint32_t sequence = 1; sequence <= streamLimit; ++sequence) {
        const PeerValue::Identity identity{tag, sequence};
        const auto value = PeerValue::make(identity);
        defaults.set(value, PeerValue::ownKey(identity));
        defaults.set(value, PeerValue::sharedKey);
        // What the test reads is exactly what was committed before the kill.
        report(std::to_string(sequence) + "\n");
    }
}

// Every peer of a race waits on the same file, so that they all open the
// suite within a fraction of a millisecond of each other.
void create(const char* suite, std::uint32_t tag, const std::filesystem::path& go) {
    report("ready\n");
    while (!std::filesystem::exists(go)) {
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    UserDefaults defaults(suite);
    defaults.set(std::int64_t{tag}, PeerValue::writerKey(tag));
}

std::uint32_t number(const char* text) {
    return static_cast<std::uint32_t>(std::stoul(text));
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string mode = argc > 2 ? argv[2] : "";
        if (argc == 5 && mode == "write") {
            UserDefaults defaults(argv[1]);
            write(defaults, number(argv[3]), number(argv[4]));
            return 0;
        }
        if (argc == 4 && mode == "read") {
            return read(UserDefaults(argv[1]), number(argv[3]));
        }
        if (argc == 4 && mode == "stream") {
            UserDefaults defaults(argv[1]);
            stream(defaults, number(argv[3]));
            return 0;
        }
        if (argc == 5 && mode == "create") {
            create(argv[1], number(argv[3]), argv[4]);
            return 0;
        }
        std::cerr << "usage: defaults_peer SUITE write TAG COUNT | read COUNT | stream TAG | create TAG GO\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
}
