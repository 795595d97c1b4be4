// The API client makes and configures a formatter for every date it decodes,
// and tries the millisecond form before the plain one, so a reply with
// thousands of dates costs thousands of these.
#include "platform/runtime/foundation/core/DateFormatter.hpp"

#include <benchmark/benchmark.h>

#include <optional>
#include <string_view>

namespace {

using foundation::Calendar;
using foundation::Date;
using foundation::DateFormatter;
using foundation::Locale;
using foundation::TimeZone;

std::optional<Date> readServerDate(std::string_view text) {
    DateFormatter formatter;
    formatter.setCalendar(Calendar(Calendar::Identifier::iso8601));
    formatter.setLocale(Locale("en_US_POSIX"));
    formatter.setTimeZone(*TimeZone::fromSecondsFromGMT(0));
    formatter.setDateFormat("yyyy-MM-dd'T'HH:mm:ss.SSSXXXXX");
    if (auto date = formatter.date(text)) {
        return date;
    }
    formatter.setDateFormat("yyyy-MM-dd'T'HH:mm:ssXXXXX");
    return formatter.date(text);
}

void serverDateWithMilliseconds(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(readServerDate("2023-04-05T06:07:08.123+02:00"));
    }
}
BENCHMARK(serverDateWithMilliseconds);

void serverDateWithoutMilliseconds(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(readServerDate("2023-04-05T06:07:08Z"));
    }
}
BENCHMARK(serverDateWithoutMilliseconds);

// Today's day text, made afresh for every journal a list examines.
void todayInTheUsersZone(benchmark::State& state) {
    for (auto _ : state) {
        DateFormatter formatter;
        formatter.setDateFormat("yyyy-MM-dd");
        benchmark::DoNotOptimize(formatter.string(Date::now()));
    }
}
BENCHMARK(todayInTheUsersZone);

}  // namespace

BENCHMARK_MAIN();
