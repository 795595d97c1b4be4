// Throughput of the JSON coding on a heavy signed-in user, the service's real
// record: decoding the cached form, encoding it, caching it in and loading it
// from the shared defaults, and decoding the same user as an API reply whose
// dates are the server's text. Beside the project's decoder, on the same
// bytes: simdjson's DOM parse, the parse with a walk over every value (the
// floor of any reader that builds a DOM first), and a plain simdjson
// On-Demand reader into structs of the same fields (what a straightforward
// reader that fills the records as it goes costs). Each also counts the
// allocations of a round. A round robin of them all, printed at the end,
// gives the ratios that hold on a loaded machine; `--summary` prints it
// alone, and a --benchmark_filter leaves it out.

#include "bench/json_bench/DOMWalk.hpp"
#include "bench/json_bench/HeavyUser.hpp"
#include "bench/json_bench/OnDemandUser.hpp"
#include "bench/json_bench/RecordCounts.hpp"
#include "bench/json_bench/RoundRobin.hpp"
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
#include <string_view>
#include <vector>

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

using bench::Round;

// The contenders on the cached user's bytes, one round each; the Google
// Benchmarks below and the round robin at the end run the same rounds.

Round domParseRound() {
    static simdjson::dom::parser parser;
    const auto& json = cachedJSON();
    return bench::timeKeepingResult(
        [&] { return parser.parse(reinterpret_cast<const char*>(json.data()), json.size(), true).error(); });
}

Round domParseAndWalkRound() {
    static simdjson::dom::parser parser;
    const auto& json = cachedJSON();
    return bench::timeKeepingResult([&] {
        const auto root = parser.parse(reinterpret_cast<const char*>(json.data()), json.size(), true).value();
        return bench::checksumOfEveryValue(root);
    });
}

bench::OnDemandUserReader& onDemandReader() {
    static bench::OnDemandUserReader reader;
    return reader;
}

Round onDemandRound() {
    return bench::timeKeepingResult([] { return onDemandReader().read(cachedJSON().view()); });
}

Round onDemandAndDropRound() {
    return bench::timeWithFree([] { return onDemandReader().read(cachedJSON().view()); });
}

Round decodeRound() {
    return bench::timeKeepingResult([] { return foundation::JSONDecoder().decode<kestrova::User>(cachedJSON()); });
}

Round decodeAndDropRound() {
    return bench::timeWithFree([] { return foundation::JSONDecoder().decode<kestrova::User>(cachedJSON()); });
}

// Cold: the stored bytes are written again before every read (outside the
// timing), so each one reads the value and decodes it, and frees the user
// kept from the value before, as the application does.
Round loadUserColdRound() {
    kestrova::sharedDefaults().set(cachedJSON(), "user");
    const kestrova::AppGroupDefaults defaults(kestrova::sharedDefaults());
    return bench::timeKeepingResult([&] { return defaults.sharedUser(); });
}

// Warm: nothing changed since the last read, so only the version is asked.
// A single read is too short for the clock; a round is the mean of many.
Round loadUserWarmRound() {
    constexpr int readsPerRound = 10000;
    kestrova::sharedDefaults().set(cachedJSON(), "user");
    const kestrova::AppGroupDefaults defaults(kestrova::sharedDefaults());
    benchmark::DoNotOptimize(defaults.sharedUser());
    Round round = bench::timeKeepingResult([&] {
        for (int i = 1; i < readsPerRound; ++i) {
            benchmark::DoNotOptimize(defaults.sharedUser());
        }
        return defaults.sharedUser();
    });
    round.time /= readsPerRound;
    round.allocations.calls /= readsPerRound;
    round.allocations.bytes /= readsPerRound;
    return round;
}

Round decodeAPIReplyRound() {
    return bench::timeKeepingResult(
        [] { return kestrova::Networking::decoder().decode<kestrova::User>(apiReplyJSON()); });
}

void simdjsonDOMParse(benchmark::State& state) {
    bench::runRounds(state, domParseRound, cachedJSON().size());
}
BENCHMARK(simdjsonDOMParse)->Unit(benchmark::kMillisecond)->UseManualTime();

void simdjsonDOMParseAndWalk(benchmark::State& state) {
    bench::runRounds(state, domParseAndWalkRound, cachedJSON().size());
}
BENCHMARK(simdjsonDOMParseAndWalk)->Unit(benchmark::kMillisecond)->UseManualTime();

void simdjsonOnDemandIntoStructs(benchmark::State& state) {
    bench::runRounds(state, onDemandRound, cachedJSON().size());
}
BENCHMARK(simdjsonOnDemandIntoStructs)->Unit(benchmark::kMillisecond)->UseManualTime();

void simdjsonOnDemandIntoStructsAndDrop(benchmark::State& state) {
    bench::runRounds(state, onDemandAndDropRound, cachedJSON().size());
}
BENCHMARK(simdjsonOnDemandIntoStructsAndDrop)->Unit(benchmark::kMillisecond)->UseManualTime();

// Decoding proper: the user of each round is freed outside the timing, since
// a decoded user lives on in the application and freeing it is no part of
// reading it. decodeAndDropCachedUser times the whole round.
void decodeCachedUser(benchmark::State& state) {
    bench::runRounds(state, decodeRound, cachedJSON().size());
}
BENCHMARK(decodeCachedUser)->Unit(benchmark::kMillisecond)->UseManualTime();

void decodeAndDropCachedUser(benchmark::State& state) {
    bench::runRounds(state, decodeAndDropRound, cachedJSON().size());
}
BENCHMARK(decodeAndDropCachedUser)->Unit(benchmark::kMillisecond)->UseManualTime();

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

void loadUserCold(benchmark::State& state) {
    bench::runRounds(state, loadUserColdRound, cachedJSON().size());
}
BENCHMARK(loadUserCold)->Unit(benchmark::kMillisecond)->UseManualTime();

// One read per iteration: the clock of each is the benchmark's own.
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
    bench::runRounds(state, decodeAPIReplyRound, apiReplyJSON().size());
}
BENCHMARK(decodeAPIReply)->Unit(benchmark::kMillisecond)->UseManualTime();

void printRecordCounts(const char* reader, const bench::RecordCounts& c) {
    std::fprintf(stderr,
                 "  %s: %lld users, %lld journals, %lld entries, %lld comments, %lld blocks, %lld block files, "
                 "%lld journal groups, %lld metrics\n",
                 reader, static_cast<long long>(c.users), static_cast<long long>(c.journals),
                 static_cast<long long>(c.entries), static_cast<long long>(c.comments),
                 static_cast<long long>(c.blocks), static_cast<long long>(c.blockFiles),
                 static_cast<long long>(c.journalGroups), static_cast<long long>(c.metrics));
}

// Figures from a user that does not come back whole would measure the wrong
// work, so the inputs are checked once before anything is timed; and the
// On-Demand reader must take in the records the decoder does, or it would
// win by reading less.
bool inputsReadBack() {
    const auto& user = heavyUser();
    const auto decoded = foundation::JSONDecoder().decode<kestrova::User>(cachedJSON());
    if (decoded != user) {
        std::fprintf(stderr, "json_bench: the cached form does not decode to the user it came from\n");
        return false;
    }
    if (kestrova::Networking::decoder().decode<kestrova::User>(apiReplyJSON()) != user) {
        std::fprintf(stderr, "json_bench: the API reply does not decode to the user it came from\n");
        return false;
    }
    const auto decodedCounts = bench::RecordCounter::of(decoded);
    const auto onDemandCounts = bench::RecordCounter::of(onDemandReader().read(cachedJSON().view()));
    if (onDemandCounts != decodedCounts) {
        std::fprintf(stderr, "json_bench: the On-Demand reader takes in other records than the decoder\n");
        printRecordCounts("decoder", decodedCounts);
        printRecordCounts("On-Demand reader", onDemandCounts);
        return false;
    }
    return true;
}

void printSummary() {
    const std::size_t bytes = cachedJSON().size();
    const std::string decoder = "project decoder, free excluded";
    const std::string decoderWithFree = "project decoder, free included";
    const std::vector<bench::Contender> contenders = {
        {"simdjson DOM parse", bytes, domParseRound, decoder},
        {"simdjson DOM parse + walk", bytes, domParseAndWalkRound, decoder},
        {"simdjson On-Demand into structs, free excluded", bytes, onDemandRound, decoder},
        {"simdjson On-Demand into structs, free included", bytes, onDemandAndDropRound, decoderWithFree},
        {decoder, bytes, decodeRound, decoder},
        {decoderWithFree, bytes, decodeAndDropRound, decoderWithFree},
        {"loadUser() cold", bytes, loadUserColdRound, decoder},
        {"loadUser() warm", 0, loadUserWarmRound, ""},
    };
    const std::string implementation(simdjson::get_active_implementation()->name());
    std::fprintf(stdout, "\nThe cached user: %zu bytes of JSON; simdjson parses with its %s implementation\n", bytes,
                 implementation.c_str());
    bench::printRoundRobin(contenders, 15, stdout);
}

// Takes `flag` out of the arguments, so that Google Benchmark does not see it.
bool takeFlag(int& argc, char** argv, std::string_view flag) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == flag) {
            for (int j = i; j + 1 < argc; ++j) {
                argv[j] = argv[j + 1];
            }
            --argc;
            return true;
        }
    }
    return false;
}

bool hasFilter(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]).starts_with("--benchmark_filter")) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Before the shared defaults are first opened, which fixes their directory for the process.
    const bench::TemporaryAppGroup appGroup;
    // `--summary` runs the round robin alone; a filter, which asks for some
    // benchmarks, runs them alone.
    const bool summaryOnly = takeFlag(argc, argv, "--summary");
    const bool summary = summaryOnly || !hasFilter(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return EXIT_FAILURE;
    }
    if (!inputsReadBack()) {
        return EXIT_FAILURE;
    }
    if (!summaryOnly) {
        benchmark::RunSpecifiedBenchmarks();
    }
    if (summary) {
        printSummary();
    }
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
