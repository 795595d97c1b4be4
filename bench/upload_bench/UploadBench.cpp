// Uploads a 1 GiB attachment through createEntry to a loopback server that
// counts and discards bodies, and sets it against curl posting the same file
// to the same server. The headline is end to end: createEntry from its start
// to its return (the form written to its file, then sent) against curl's
// whole run. Beside it: the form's write rate, the send phase alone, curl's
// rate and how far resident memory rose above its idle level while the
// upload ran: the body must stream from disk, never sit in memory.

#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/foundation/core/SystemVersionOverride.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "kestrova/networking/APIBaseURLOverride.hpp"
#include "kestrova/networking/EntryUpload.hpp"
#include "kestrova/networking/Networking.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/MainLoop.hpp"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uintmax_t fileSize = std::uintmax_t{1} << 30;
constexpr double mebibyte = 1024.0 * 1024.0;

// A line of /proc/self/status such as "VmHWM:", in KiB.
long statusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field)) {
            return std::stol(line.substr(field.size()));
        }
    }
    return -1;
}

// Starts the peak resident size afresh from the current one.
void resetPeakResidentSize() { std::ofstream("/proc/self/clear_refs") << "5"; }

double seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

double rate(std::uintmax_t bytes, Clock::duration duration) {
    return static_cast<double>(bytes) / mebibyte / seconds(duration);
}

kestrova::Networking::EntryUpload uploadOf(const std::filesystem::path& file) {
    using Block = kestrova::Networking::EntryUpload::Block;
    return {.journalId = 1,
            .blocks = {Block::fileURL(foundation::URL::fileURL(file.string()), "big.bin",
                                      "application/octet-stream")}};
}

}  // namespace

int main() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-upload-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path directory = pattern;
    setenv("TMPDIR", directory.c_str(), 1);
    const foundation::SystemVersionOverride system({14, 0, 0});

    testsupport::LoopbackServer server;
    server.countBodiesOnly();
    server.reply("POST", "/entries/create", {.status = 201, .body = R"({"id":1})"});
    const kestrova::APIBaseURLOverride api(*foundation::URL::fromString(server.url("")));

    const auto file = directory / "attachment.bin";
    std::ofstream(file).close();
    std::filesystem::resize_file(file, fileSize);  // sparse: reads as zeros, costs no disk

    // The form alone, as createEntry writes it before sending.
    {
        auto form = uploadOf(file).multipartFormData();
        const auto formFile = directory / "form.tmp";
        const auto start = Clock::now();
        form.writeEncodedData(foundation::URL::fileURL(formFile.string()));
        const auto elapsed = Clock::now() - start;
        std::printf("form write:        %8.1f MiB/s (%.2f s)\n", rate(std::filesystem::file_size(formFile), elapsed),
                    seconds(elapsed));
        std::filesystem::remove(formFile);
    }

    const long idleKiB = statusKiB("VmRSS:");
    resetPeakResidentSize();
    std::atomic<Clock::rep> firstReport{0};
    const auto start = Clock::now();
    const auto handler = [&](double) {
        Clock::rep none = 0;
        firstReport.compare_exchange_strong(none, Clock::now().time_since_epoch().count());
    };
    testsupport::MainLoop::runOnMainActor(
        [&]() -> concurrency::Task<kestrova::KestrovaEntry> {
            co_return co_await kestrova::Networking::createEntry(uploadOf(file), "bench", handler);
        },
        std::chrono::minutes(10));
    const auto end = Clock::now();
    const long peakKiB = statusKiB("VmHWM:");
    const auto sent = server.requests().back().bodyLength;
    const auto uploadStart = Clock::time_point(Clock::duration(firstReport.load()));
    std::printf("createEntry total: %8.1f MiB/s (%.2f s, form written and sent)\n", rate(sent, end - start),
                seconds(end - start));
    std::printf("createEntry send:  %8.1f MiB/s (%.2f s, from the first progress report)\n",
                rate(sent, end - uploadStart), seconds(end - uploadStart));
    std::printf("memory:            idle %ld KiB, peak %ld KiB, rise %.1f MiB (target <= 32 MiB)\n", idleKiB,
                peakKiB, static_cast<double>(peakKiB - idleKiB) / 1024.0);

    const std::string curl = "curl -s -o /dev/null -F block0=@" + file.string() + " " +
                             server.url("/entries/create");
    const auto curlStart = Clock::now();
    const int status = std::system(curl.c_str());
    const auto curlElapsed = Clock::now() - curlStart;
    const auto curlSent = server.requests().back().bodyLength;
    std::printf("curl -F:           %8.1f MiB/s (%.2f s, exit %d)\n", rate(curlSent, curlElapsed),
                seconds(curlElapsed), status);
    std::printf("send / curl:       %8.2f (the send phase alone, from the first progress report)\n",
                rate(sent, end - uploadStart) / rate(curlSent, curlElapsed));
    std::printf("end to end / curl: %8.2f (createEntry from start to return against curl's whole run; "
                "target >= 0.5)\n",
                rate(sent, end - start) / rate(curlSent, curlElapsed));

    std::filesystem::remove_all(directory);
    return status == 0 ? 0 : 1;
}
