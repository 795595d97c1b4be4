// Throughput of the JSON coding on a heavy signed-in user, the service's real
// record: decoding the cached form, encoding it, caching it in and loading it
// from the shared defaults, and decoding the same user as an API reply whose
// dates are the server's text. simdjson's own DOM parse of the same bytes is
// the ceiling, since the decoder reads the records from that parse (laid out
// for reading in any order).

#include "bench/json_bench/HeavyUser.hpp"
#include "bench/json_bench/ServerDates.hpp"
#include "bench/json_bench/TemporaryAppGroup.hpp"

#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "kestrova/networking/Networking.hpp"

#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// About 5 MB of JSON, the size of a heavy user's cache.
constexpr int journalCount = 300;
constexpr int entriesPerJournal = 9;

const kestrova::User& heavyUser() {
    static const kestrova::User user = bench::makeHeavyUser(journalCount, entriesPerJournal);
    return user;
}

const foundation::Data& cachedJSON() {
    static const foundation::Data json = [] {
        foundation::Data data = foundation::JSONEncoder().encode(heavyUser());
        std::fprintf(stderr, "heavy user: %zu bytes of JSON\n", data.size());
        return data;
    }();
    return json;
}

const foundation::Data& apiReplyJSON() {
    static const foundation::Data json = [] {
        foundation::Data data = bench::withServerDates(cachedJSON().view());
        std::fprintf(stderr, "heavy user as an API reply: %zu bytes of JSON\n", data.size());
        return data;
    }();
    return json;
}

void setBytes(benchmark::State& state, std::size_t bytesPerIteration) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesPerIteration));
}

void simdjsonDOMParse(benchmark::State& state) {
    const auto& json = cachedJSON();
    simdjson::dom::parser parser;
    for (auto _ : state) {
        auto document = parser.parse(reinterpret_cast<const char*>(json.data()), json.size(), true);
        benchmark::DoNotOptimize(document.error());
    }
    setBytes(state, json.size());
}
BENCHMARK(simdjsonDOMParse)->Unit(benchmark::kMillisecond);

// Decoding proper: the user of each round is dropped with the timer paused,
// since a decoded user lives on in the application and freeing it is no part
// of reading it. decodeAndDropCachedUser times the whole round.
void decodeUser(benchmark::State& state, const foundation::JSONDecoder& decoder,
                const foundation::Data& json) {
    for (auto _ : state) {
        std::optional<kestrova::User> user = decoder.decode<kestrova::User>(json);
        benchmark::DoNotOptimize(user);
        state.PauseTiming();
        user.reset();
        state.ResumeTiming();
    }
    setBytes(state, json.size());
}

void decodeCachedUser(benchmark::State& state) {
    decodeUser(state, foundation::JSONDecoder(), cachedJSON());
}
BENCHMARK(decodeCachedUser)->Unit(benchmark::kMillisecond);

void decodeAndDropCachedUser(benchmark::State& state) {
    const auto& json = cachedJSON();
    const foundation::JSONDecoder decoder;
    for (auto _ : state) {
        auto user = decoder.decode<kestrova::User>(json);
        benchmark::DoNotOptimize(user);
    }
    setBytes(state, json.size());
}
BENCHMARK(decodeAndDropCachedUser)->Unit(benchmark::kMillisecond);

void encodeUser(benchmark::State& state) {
    const auto& user = heavyUser();
    const foundation::JSONEncoder encoder;
    for (auto _ : state) {
        auto json = encoder.encode(user);
        benchmark::DoNotOptimize(json);
    }
    setBytes(state, cachedJSON().size());
}
BENCHMARK(encodeUser)->Unit(benchmark::kMillisecond);

void saveUser(benchmark::State& state) {
    const auto& user = heavyUser();
    kestrova::AppGroupDefaults defaults(kestrova::sharedDefaults());
    for (auto _ : state) {
        defaults.saveUser(user);
    }
    setBytes(state, cachedJSON().size());
}
BENCHMARK(saveUser)->Unit(benchmark::kMillisecond);

// Cold: the stored bytes were written again before every read (outside the
// timing), so each one reads the value and decodes it.
void loadUserCold(benchmark::State& state) {
    kestrova::AppGroupDefaults defaults(kestrova::sharedDefaults());
    for (auto _ : state) {
        state.PauseTiming();
        kestrova::sharedDefaults().set(cachedJSON(), "user");
        state.ResumeTiming();
        auto user = defaults.sharedUser();
        benchmark::DoNotOptimize(user);
    }
    setBytes(state, cachedJSON().size());
}
BENCHMARK(loadUserCold)->Unit(benchmark::kMillisecond);

// Warm: nothing changed since the last read, so only the version is asked.
void loadUserWarm(benchmark::State& state) {
    kestrova::AppGroupDefaults defaults(kestrova::sharedDefaults());
    kestrova::sharedDefaults().set(cachedJSON(), "user");
    benchmark::DoNotOptimize(defaults.sharedUser());
    for (auto _ : state) {
        auto user = defaults.sharedUser();
        benchmark::DoNotOptimize(user);
    }
}
BENCHMARK(loadUserWarm)->Unit(benchmark::kNanosecond);

// Warm through loadUser(), which hands out a copy of the kept user.
void loadUserWarmCopy(benchmark::State& state) {
    kestrova::AppGroupDefaults defaults(kestrova::sharedDefaults());
    kestrova::sharedDefaults().set(cachedJSON(), "user");
    benchmark::DoNotOptimize(defaults.sharedUser());
    for (auto _ : state) {
        auto user = defaults.loadUser();
        benchmark::DoNotOptimize(user);
    }
}
BENCHMARK(loadUserWarmCopy)->Unit(benchmark::kNanosecond);

void decodeAPIReply(benchmark::State& state) {
    decodeUser(state, kestrova::Networking::decoder(), apiReplyJSON());
}
BENCHMARK(decodeAPIReply)->Unit(benchmark::kMillisecond);

// Figures from a user that does not come back whole would measure the wrong
// work, so the inputs are checked once before anything is timed.
bool inputsReadBack() {
    const auto& user = heavyUser();
    if (foundation::JSONDecoder().decode<kestrova::User>(cachedJSON()) != user) {
        std::fprintf(stderr, "json_bench: the cached form does not decode to the user it came from\n");
        return false;
    }
    if (kestrova::Networking::decoder().decode<kestrova::User>(apiReplyJSON()) != user) {
        std::fprintf(stderr, "json_bench: the API reply does not decode to the user it came from\n");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Before the shared defaults are first opened, which fixes their directory for the process.
    const bench::TemporaryAppGroup appGroup;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return EXIT_FAILURE;
    }
    if (!inputsReadBack()) {
        return EXIT_FAILURE;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
