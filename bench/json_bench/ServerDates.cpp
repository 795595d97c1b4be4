#include "bench/json_bench/ServerDates.hpp"

#include "platform/runtime/foundation/core/DateFormatter.hpp"

#include <array>
#include <charconv>
#include <stdexcept>
#include <string>

namespace bench {
namespace {

constexpr std::array<std::string_view, 5> dateKeys = {
    R"("createdAt":)", R"("updatedAt":)", R"("lastViewedAt":)", R"("date":)", R"("last_entry_at":)",
};

// The date key that starts at `at`, if any.
std::string_view dateKeyAt(std::string_view json, std::size_t at) {
    for (const auto key : dateKeys) {
        if (json.substr(at, key.size()) == key) {
            return key;
        }
    }
    return {};
}

}  // namespace

foundation::Data withServerDates(std::string_view cachedJSON) {
    foundation::DateFormatter formatter;
    formatter.setCalendar(foundation::Calendar(foundation::Calendar::Identifier::iso8601));
    formatter.setLocale(foundation::Locale("en_US_POSIX"));
    formatter.setTimeZone(*foundation::TimeZone::fromSecondsFromGMT(0));
    formatter.setDateFormat("yyyy-MM-dd'T'HH:mm:ss.SSSXXXXX");

    std::string reply;
    reply.reserve(cachedJSON.size() + cachedJSON.size() / 4);
    std::size_t copied = 0;
    for (std::size_t at = cachedJSON.find('"'); at != std::string_view::npos;
         at = cachedJSON.find('"', at + 1)) {
        const auto key = dateKeyAt(cachedJSON, at);
        if (key.empty()) {
            continue;
        }
        const char* number = cachedJSON.data() + at + key.size();
        double seconds = 0;
        const auto [end, error] = std::from_chars(number, cachedJSON.data() + cachedJSON.size(), seconds);
        if (error != std::errc()) {
            throw std::invalid_argument("a date key without a number at byte " + std::to_string(at));
        }
        reply.append(cachedJSON.substr(copied, at + key.size() - copied));
        reply.push_back('"');
        reply.append(formatter.string(foundation::Date::fromTimeIntervalSinceReferenceDate(seconds)));
        reply.push_back('"');
        copied = static_cast<std::size_t>(end - cachedJSON.data());
        at = copied - 1;
    }
    reply.append(cachedJSON.substr(copied));
    return foundation::Data(reply);
}

}  // namespace bench
