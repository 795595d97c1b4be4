#pragma once

#include <cstdint>

namespace bench {

// Calls of the global operator new and the bytes they asked for. The bench
// binary replaces operator new to count them, so a decode's allocations are
// the difference of two readings around it. Counted in every thread.
struct Allocations {
    std::uint64_t calls = 0;
    std::uint64_t bytes = 0;

    Allocations& operator+=(const Allocations& other) noexcept {
        calls += other.calls;
        bytes += other.bytes;
        return *this;
    }
    friend Allocations operator-(const Allocations& a, const Allocations& b) noexcept {
        return {a.calls - b.calls, a.bytes - b.bytes};
    }
};

// The allocations of the process since it started.
Allocations allocationsSoFar() noexcept;

}  // namespace bench
