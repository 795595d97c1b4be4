// Uploads a 1 GiB attachment through createEntry to a loopback sink that
// discards bodies, and sets it against curl posting the same file to the
// same sink, run after run; each figure is the median of the runs. The
// headline is end to end: createEntry from its call to its return (the form
// written to its temporary file, sent, the file removed) against curl's
// whole run. Both split where the sink has the request's header fields and
// where it has the whole body: before the fields createEntry writes its form
// (curl starts up), between the two the body is sent, and after the body
// createEntry takes in the reply and removes its file (curl exits).
// The attachment holds real bytes and sits in the page cache, as a file just
// picked for an upload does. Beside the times: how far resident memory rose
// above its idle level while an upload ran, at most: the body must stream
// from disk, never sit in memory.
//
//     upload_bench [runs]      15 runs unless told otherwise

#include "bench/support/QuietRun.hpp"
#include "bench/upload_bench/DiscardingSink.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/foundation/core/SystemVersionOverride.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "kestrova/networking/APIBaseURLOverride.hpp"
#include "kestrova/networking/EntryUpload.hpp"
#include "kestrova/networking/Networking.hpp"
#include "tests/support/MainLoop.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = bench::DiscardingSink::Clock;

constexpr std::uintmax_t fileSize = std::uintmax_t{1} << 30;
constexpr int defaultRuns = 15;
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

// Bytes that vary, so that no layer can take a shortcut over zeros or
// holes, written and flushed once: every run then reads them from the page
// cache, and no write-back of them competes with the runs.
bool writeAttachment(const std::filesystem::path& path) {
    std::vector<std::uint8_t> block(std::size_t{1} << 20);
    std::uint32_t state = 2463534242U;
    for (auto& byte : block) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<std::uint8_t>(state);
    }
    const int file = ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0600);
    bool written = file >= 0;
    for (std::uintmax_t offset = 0; written && offset < fileSize; offset += block.size()) {
        block[0] = static_cast<std::uint8_t>(offset >> 20);
        written = ::write(file, block.data(), block.size()) == static_cast<ssize_t>(block.size());
    }
    written = written && ::fsync(file) == 0;
    if (file >= 0) {
        ::close(file);
    }
    return written;
}

// One upload's times: its whole run, and its parts split at the sink's
// receipt of the header fields and of the whole body.
struct Timing {
    double total;
    double beforeSend;
    double send;
    double afterSend;
};

Timing timingOf(Clock::time_point start, const bench::DiscardingSink& sink, Clock::time_point end) {
    const auto headers = sink.lastHeadersReceived();
    const auto body = sink.lastBodyReceived();
    return {seconds(end - start), seconds(headers - start), seconds(body - headers), seconds(end - body)};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

Timing mediansOf(const std::vector<Timing>& timings) {
    std::vector<double> totals;
    std::vector<double> before;
    std::vector<double> sends;
    std::vector<double> after;
    for (const auto& timing : timings) {
        totals.push_back(timing.total);
        before.push_back(timing.beforeSend);
        sends.push_back(timing.send);
        after.push_back(timing.afterSend);
    }
    return {median(totals), median(before), median(sends), median(after)};
}

double rate(std::uint64_t bytes, double elapsed) { return static_cast<double>(bytes) / mebibyte / elapsed; }

// The bench's directory goes however the bench ends, even by a failed
// upload: it holds gigabytes.
class RemovedDirectory {
public:
    explicit RemovedDirectory(std::filesystem::path path) : path_(std::move(path)) {}
    ~RemovedDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    RemovedDirectory(const RemovedDirectory&) = delete;
    RemovedDirectory& operator=(const RemovedDirectory&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }

private:
    std::filesystem::path path_;
};

kestrova::Networking::EntryUpload uploadOf(const std::filesystem::path& file) {
    using Block = kestrova::Networking::EntryUpload::Block;
    return {.journalId = 1,
            .blocks = {Block::fileURL(foundation::URL::fileURL(file.string()), "big.bin",
                                      "application/octet-stream")}};
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : defaultRuns;
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-upload-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const RemovedDirectory directory(pattern);
    // createEntry writes its form here, on the attachment's file system.
    setenv("TMPDIR", directory.path().c_str(), 1);
    const foundation::SystemVersionOverride system({14, 0, 0});
    const auto file = directory.path() / "attachment.bin";
    if (!writeAttachment(file)) {
        std::perror("writing the attachment");
        return 1;
    }

    bench::DiscardingSink sink(R"({"id":1})");
    const kestrova::APIBaseURLOverride api(*foundation::URL::fromString(sink.url("")));
    const std::string curlForm = "block0=@" + file.string();
    const std::string target = sink.url("/entries/create");

    std::vector<Timing> uploads;
    std::vector<Timing> curls;
    long largestRiseKiB = 0;
    std::uint64_t sent = 0;
    std::uint64_t curlSent = 0;
    bool failed = false;
    try {
        for (int run = 0; run < runs && !failed; ++run) {
            const long idleKiB = statusKiB("VmRSS:");
            resetPeakResidentSize();
            const auto start = Clock::now();
            testsupport::MainLoop::runOnMainActor(
                [&]() -> concurrency::Task<kestrova::KestrovaEntry> {
                    co_return co_await kestrova::Networking::createEntry(uploadOf(file), "bench", [](double) {});
                },
                std::chrono::minutes(10));
            const auto end = Clock::now();
            largestRiseKiB = std::max(largestRiseKiB, statusKiB("VmHWM:") - idleKiB);
            uploads.push_back(timingOf(start, sink, end));
            sent = sink.lastBodyLength();

            const auto curlStart = Clock::now();
            failed = !bench::runQuietly({"curl", "-s", "-f", "-o", "/dev/null", "-F", curlForm, target});
            const auto curlEnd = Clock::now();
            curls.push_back(timingOf(curlStart, sink, curlEnd));
            curlSent = sink.lastBodyLength();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "createEntry failed: %s\n", error.what());
        return 1;
    }
    if (failed) {
        std::fprintf(stderr, "curl could not post the attachment\n");
        return 1;
    }

    const Timing upload = mediansOf(uploads);
    const Timing curl = mediansOf(curls);
    std::printf("runs:                  %d, 1 GiB attachment from the page cache; medians\n", runs);
    std::printf("createEntry:           %6.3f s  %7.1f MiB/s  end to end\n", upload.total,
                rate(sent, upload.total));
    std::printf("  form written:        %6.3f s  %7.1f MiB/s  call to header fields at the sink\n",
                upload.beforeSend, rate(sent, upload.beforeSend));
    std::printf("  sent:                %6.3f s  %7.1f MiB/s  header fields to the whole body at the sink\n",
                upload.send, rate(sent, upload.send));
    std::printf("  finished:            %6.3f s               body to return: reply, file removed\n",
                upload.afterSend);
    std::printf("curl -F:               %6.3f s  %7.1f MiB/s  whole run\n", curl.total, rate(curlSent, curl.total));
    std::printf("  started:             %6.3f s               start to header fields at the sink\n",
                curl.beforeSend);
    std::printf("  sent:                %6.3f s  %7.1f MiB/s  header fields to the whole body at the sink\n",
                curl.send, rate(curlSent, curl.send));
    std::printf("  finished:            %6.3f s               body to exit\n", curl.afterSend);
    std::printf("end to end / curl:     %6.2f x (createEntry's time over curl's; target <= 1.3)\n",
                upload.total / curl.total);
    std::printf("send / curl's send:    %6.2f x\n", upload.send / curl.send);
    std::printf("memory:                rise of at most %.1f MiB over idle (target <= 32 MiB)\n",
                static_cast<double>(largestRiseKiB) / 1024.0);
    return 0;
}
