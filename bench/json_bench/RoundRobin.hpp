#pragma once

#include "bench/json_bench/AllocationCounter.hpp"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <span>
#include <string>

namespace bench {

// One run of a contender: the time of the part that counts, and the
// allocations made in it.
struct Round {
    std::chrono::nanoseconds time{};
    Allocations allocations;
};

// Times `work` alone: what it returns is freed after the clock stops, as a
// decoded value lives on in the application and freeing it is no part of
// reading it.
template <typename Work>
Round timeKeepingResult(Work&& work) {
    using Clock = std::chrono::steady_clock;
    const Allocations before = allocationsSoFar();
    const auto start = Clock::now();
    auto result = work();
    benchmark::DoNotOptimize(result);
    const auto stop = Clock::now();
    return Round{stop - start, allocationsSoFar() - before};
}

// Times `work` and the freeing of what it returns.
template <typename Work>
Round timeWithFree(Work&& work) {
    return timeKeepingResult([&work] {
        auto result = work();
        benchmark::DoNotOptimize(result);
        return 0;  // what `work` gave is freed here, on the clock
    });
}

// Runs a Google Benchmark on rounds of one contender, with the time of each
// round as the iteration's time (register it with UseManualTime()), and
// reports the allocations and allocated bytes per iteration.
void runRounds(benchmark::State& state, const std::function<Round()>& round, std::size_t bytesPerRound);

struct Contender {
    std::string name;
    // The bytes of input one round reads; none where MB/s means nothing.
    std::size_t bytes = 0;
    std::function<Round()> round;
    // The contender whose time is divided by this one's in the ratio column;
    // empty for none.
    std::string baseline;
};

// Runs `rounds` rounds of every contender interleaved, each round starting
// at the next contender so that none always runs first, and prints the
// median of each: on a loaded machine absolute times drift between runs,
// while ratios taken from one interleaved run hold.
void printRoundRobin(std::span<const Contender> contenders, int rounds, std::FILE* out);

}  // namespace bench
