// Decode and encode throughput of the JSON coding on a heavy cached user,
// beside simdjson's own DOM parse of the same bytes: the ceiling the decoder
// works under, since it reads the records from that parse.

#include "UserShape.hpp"

#include "foundation/JSONDecoder.hpp"
#include "foundation/JSONEncoder.hpp"

#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <cstdio>

namespace {

// About 5 MB of JSON, the size of a heavy user's cache.
constexpr int journalCount = 300;
constexpr int entriesPerJournal = 12;

const bench::User& heavyUser() {
    static const bench::User user = bench::makeHeavyUser(journalCount, entriesPerJournal);
    return user;
}

const foundation::Data& heavyUserJSON() {
    static const foundation::Data json = [] {
        foundation::Data data = foundation::JSONEncoder().encode(heavyUser());
        std::fprintf(stderr, "heavy user: %zu bytes of JSON\n", data.size());
        return data;
    }();
    return json;
}

void simdjsonDOMParse(benchmark::State& state) {
    const auto& json = heavyUserJSON();
    simdjson::dom::parser parser;
    for (auto _ : state) {
        auto document = parser.parse(reinterpret_cast<const char*>(json.data()), json.size(), true);
        benchmark::DoNotOptimize(document.error());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * json.size()));
}
BENCHMARK(simdjsonDOMParse)->Unit(benchmark::kMillisecond);

void decodeHeavyUser(benchmark::State& state) {
    const auto& json = heavyUserJSON();
    const foundation::JSONDecoder decoder;
    for (auto _ : state) {
        auto user = decoder.decode<bench::User>(json);
        benchmark::DoNotOptimize(user);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * json.size()));
}
BENCHMARK(decodeHeavyUser)->Unit(benchmark::kMillisecond);

void encodeHeavyUser(benchmark::State& state) {
    const auto& user = heavyUser();
    const std::size_t bytes = heavyUserJSON().size();
    const foundation::JSONEncoder encoder;
    for (auto _ : state) {
        auto json = encoder.encode(user);
        benchmark::DoNotOptimize(json);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(encodeHeavyUser)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
