#include "bench/json_bench/RoundRobin.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace bench {
namespace {

struct Median {
    double nanoseconds = 0;
    std::uint64_t allocations = 0;
    std::uint64_t allocatedBytes = 0;
};

template <typename T>
T medianOf(std::vector<T> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

Median medianOf(const std::vector<Round>& rounds) {
    std::vector<double> times;
    std::vector<std::uint64_t> allocations;
    std::vector<std::uint64_t> allocatedBytes;
    for (const Round& round : rounds) {
        times.push_back(static_cast<double>(round.time.count()));
        allocations.push_back(round.allocations.calls);
        allocatedBytes.push_back(round.allocations.bytes);
    }
    return {medianOf(std::move(times)), medianOf(std::move(allocations)), medianOf(std::move(allocatedBytes))};
}

std::string formatTime(double nanoseconds) {
    char text[32];
    if (nanoseconds >= 1e6) {
        std::snprintf(text, sizeof text, "%.2f ms", nanoseconds / 1e6);
    } else if (nanoseconds >= 1e3) {
        std::snprintf(text, sizeof text, "%.2f us", nanoseconds / 1e3);
    } else {
        std::snprintf(text, sizeof text, "%.1f ns", nanoseconds);
    }
    return text;
}

}  // namespace

void runRounds(benchmark::State& state, const std::function<Round()>& round, std::size_t bytesPerRound) {
    Allocations allocations;
    for (auto _ : state) {
        const Round r = round();
        state.SetIterationTime(std::chrono::duration<double>(r.time).count());
        allocations += r.allocations;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesPerRound));
    state.counters["allocations"] =
        benchmark::Counter(static_cast<double>(allocations.calls), benchmark::Counter::kAvgIterations);
    state.counters["allocatedBytes"] = benchmark::Counter(
        static_cast<double>(allocations.bytes), benchmark::Counter::kAvgIterations, benchmark::Counter::kIs1024);
}

void printRoundRobin(std::span<const Contender> contenders, int rounds, std::FILE* out) {
    // One round of each first, not counted: a first round grows the
    // contender's buffers, which every later round reuses.
    for (const Contender& contender : contenders) {
        (void)contender.round();
    }
    std::vector<std::vector<Round>> results(contenders.size());
    for (int r = 0; r < rounds; ++r) {
        for (std::size_t i = 0; i < contenders.size(); ++i) {
            const std::size_t which = (i + static_cast<std::size_t>(r)) % contenders.size();
            results[which].push_back(contenders[which].round());
        }
    }
    std::vector<Median> medians;
    for (const auto& contenderRounds : results) {
        medians.push_back(medianOf(contenderRounds));
    }
    const auto medianNamed = [&](const std::string& name) -> const Median* {
        for (std::size_t i = 0; i < contenders.size(); ++i) {
            if (contenders[i].name == name) {
                return &medians[i];
            }
        }
        return nullptr;
    };

    std::fprintf(out, "\nRound robin: %d interleaved rounds of each contender, medians\n", rounds);
    std::fprintf(out, "%-48s %10s %7s %12s %10s  %s\n", "contender", "time", "MB/s", "allocations", "allocated",
                 "project decoder / contender");
    for (std::size_t i = 0; i < contenders.size(); ++i) {
        const Contender& contender = contenders[i];
        const Median& median = medians[i];
        std::string throughput = "-";
        if (contender.bytes > 0 && median.nanoseconds > 0) {
            char text[32];
            std::snprintf(text, sizeof text, "%.0f", static_cast<double>(contender.bytes) / median.nanoseconds * 1e3);
            throughput = text;
        }
        std::string ratio = "-";
        if (const Median* baseline = medianNamed(contender.baseline); baseline && median.nanoseconds > 0) {
            char text[48];
            std::snprintf(text, sizeof text, "%.2f (vs %s)", baseline->nanoseconds / median.nanoseconds,
                          contender.baseline.c_str());
            ratio = text;
        }
        char allocated[32];
        std::snprintf(allocated, sizeof allocated, "%.2f MB", static_cast<double>(median.allocatedBytes) / 1e6);
        std::fprintf(out, "%-48s %10s %7s %12llu %10s  %s\n", contender.name.c_str(),
                     formatTime(median.nanoseconds).c_str(), throughput.c_str(),
                     static_cast<unsigned long long>(median.allocations), allocated, ratio.c_str());
    }
    std::fflush(out);
}

}  // namespace bench
