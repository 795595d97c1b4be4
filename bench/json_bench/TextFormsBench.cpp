// The text forms the coding reads and writes for two value types: Base64 for
// data (an icon or a file's bytes in a record) and the 36 characters of a
// UUID (comments, journal groups and metrics are keyed by one).

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/UUID.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// An icon's worth of bytes, all 256 values.
const foundation::Data& iconBytes() {
    static const foundation::Data bytes = [] {
        std::vector<std::uint8_t> values(64 * 1024);
        for (std::size_t i = 0; i < values.size(); ++i) {
            values[i] = static_cast<std::uint8_t>(i * 167 + i / 256);
        }
        return foundation::Data(std::move(values));
    }();
    return bytes;
}

void base64Decode(benchmark::State& state) {
    const std::string text = iconBytes().base64EncodedString();
    for (auto _ : state) {
        auto data = foundation::Data::fromBase64(text);
        benchmark::DoNotOptimize(data);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(base64Decode);

void base64Encode(benchmark::State& state) {
    const auto& data = iconBytes();
    for (auto _ : state) {
        auto text = data.base64EncodedString();
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(base64Encode);

void uuidFromString(benchmark::State& state) {
    const std::string text = "e621e1f8-c36c-495a-93fc-0c247a3e6e5f";
    for (auto _ : state) {
        auto uuid = foundation::UUID::fromString(text);
        benchmark::DoNotOptimize(uuid);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(uuidFromString);

}  // namespace
