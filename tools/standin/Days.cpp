#include "tools/standin/Days.hpp"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace standin {
namespace {

std::optional<std::chrono::year_month_day> parse(const std::string& text) {
    unsigned year = 0;
    unsigned month = 0;
    unsigned day = 0;
    int consumed = 0;
    if (text.size() != 10 || std::sscanf(text.c_str(), "%4u-%2u-%2u%n", &year, &month, &day, &consumed) != 3 ||
        consumed != 10) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(static_cast<int>(year)), std::chrono::month(month),
                                           std::chrono::day(day)};
    return date.ok() ? std::optional(date) : std::nullopt;
}

std::string format(std::chrono::year_month_day date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::string shifted(const std::chrono::year_month_day& date, int days) {
    return format(std::chrono::sys_days(date) + std::chrono::days(days));
}

}  // namespace

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

std::optional<std::string> dayBefore(const std::string& day) {
    const auto date = parse(day);
    return date ? std::optional(shifted(*date, -1)) : std::nullopt;
}

std::string dayAfter(const std::string& day) {
    return shifted(*parse(day), 1);
}

bool isDay(const std::string& text) {
    return parse(text).has_value();
}

std::string nowText() {
    const auto now = std::chrono::system_clock::now();
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    char full[40];
    std::snprintf(full, sizeof full, "%s.%03dZ", text, static_cast<int>(milliseconds));
    return full;
}

}  // namespace standin
