#include "platform/runtime/foundation/core/Calendar.hpp"

#include <chrono>
#include <cmath>
#include <stdexcept>

namespace foundation {

namespace {

constexpr std::int64_t secondsPerMinute = 60;
constexpr std::int64_t secondsPerHour = 60 * secondsPerMinute;
constexpr std::int64_t secondsPerDay = 24 * secondsPerHour;
constexpr std::int64_t millisecondsPerSecond = 1000;
constexpr auto referenceDateUnixTime =
    static_cast<std::int64_t>(Date::timeIntervalBetween1970AndReferenceDate);

// Seconds either side of the reference date within which every year fits the
// civil-date arithmetic (years -32767 to 32767) with a wide margin.
constexpr double supportedSeconds = 8e11;
// No count of minutes or days beyond this can land back in range; bounding it
// first keeps the arithmetic from overflowing.
constexpr auto maximumCount = static_cast<std::int64_t>(2 * supportedSeconds / secondsPerMinute);

constexpr std::int64_t floorDiv(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

constexpr std::int64_t floorMod(std::int64_t value, std::int64_t divisor) {
    return value - floorDiv(value, divisor) * divisor;
}

bool isSupported(double secondsSinceReferenceDate) {
    return std::fabs(secondsSinceReferenceDate) <= supportedSeconds;  // false for NaN too
}

// A date split into whole unix seconds and the part of a second after them,
// so that day arithmetic moves the whole seconds and keeps the fraction as it
// was.
struct Moment {
    std::int64_t unixTime;
    double fraction;
};

std::optional<Moment> momentOf(Date date) {
    const double seconds = date.timeIntervalSinceReferenceDate();
    if (!isSupported(seconds)) {
        return std::nullopt;
    }
    const double whole = std::floor(seconds);
    return Moment{static_cast<std::int64_t>(whole) + referenceDateUnixTime, seconds - whole};
}

Moment requireMoment(Date date) {
    const std::optional<Moment> moment = momentOf(date);
    if (!moment) {
        throw std::out_of_range("Calendar: the date is not finite or lies too far from 2001");
    }
    return *moment;
}

Date dateAt(std::int64_t unixTime, double fraction) {
    return Date::fromTimeIntervalSinceReferenceDate(static_cast<double>(unixTime - referenceDateUnixTime) +
                                                    fraction);
}

std::int64_t wallClockTime(const TimeZone& zone, std::int64_t unixTime) {
    return unixTime + zone.secondsFromGMT(unixTime);
}

std::int64_t startOf(Calendar::Component unit, std::int64_t unixTime) {
    const TimeZone zone = TimeZone::current();
    const std::int64_t wall = wallClockTime(zone, unixTime);
    if (unit == Calendar::Component::minute) {
        return unixTime - floorMod(wall, secondsPerMinute);
    }
    return zone.unixTime(wall - floorMod(wall, secondsPerDay));
}

bool isWithin(int value, int lowest, int highest) {
    return value >= lowest && value <= highest;
}

}  // namespace

std::optional<Date> Calendar::dateByAdding(Component component, std::int64_t value, Date date) const {
    const std::optional<Moment> moment = momentOf(date);
    if (!moment || value < -maximumCount || value > maximumCount) {
        return std::nullopt;
    }
    std::int64_t unixTime = 0;
    if (component == Component::minute) {
        unixTime = moment->unixTime + value * secondsPerMinute;
    } else {
        const TimeZone zone = TimeZone::current();
        unixTime = zone.unixTime(wallClockTime(zone, moment->unixTime) + value * secondsPerDay);
    }
    const Date result = dateAt(unixTime, moment->fraction);
    if (!isSupported(result.timeIntervalSinceReferenceDate())) {
        return std::nullopt;
    }
    return result;
}

Date Calendar::startOfDay(Date date) const {
    return dateAt(startOf(Component::day, requireMoment(date).unixTime), 0.0);
}

bool Calendar::isDateInToday(Date date) const {
    return isDateInSameDayAs(date, Date::now());
}

bool Calendar::isDateInSameDayAs(Date date, Date other) const {
    return compare(date, other, Component::day) == std::strong_ordering::equal;
}

std::strong_ordering Calendar::compare(Date date, Date other, Component granularity) const {
    return startOf(granularity, requireMoment(date).unixTime) <=>
           startOf(granularity, requireMoment(other).unixTime);
}

DateComponents Calendar::dateComponents(const TimeZone& zone, Date date) const {
    const Moment moment = requireMoment(date);
    const std::int64_t milliseconds = moment.unixTime * millisecondsPerSecond +
                                      static_cast<std::int64_t>(std::round(moment.fraction * 1000.0));
    const std::int64_t unixTime = floorDiv(milliseconds, millisecondsPerSecond);
    const int offset = zone.secondsFromGMT(unixTime);
    const std::int64_t wall = unixTime + offset;
    const std::chrono::year_month_day civil{
        std::chrono::sys_days{std::chrono::days{floorDiv(wall, secondsPerDay)}}};
    const std::int64_t secondOfDay = floorMod(wall, secondsPerDay);
    return DateComponents{
        .year = static_cast<int>(civil.year()),
        .month = static_cast<int>(static_cast<unsigned>(civil.month())),
        .day = static_cast<int>(static_cast<unsigned>(civil.day())),
        .hour = static_cast<int>(secondOfDay / secondsPerHour),
        .minute = static_cast<int>(secondOfDay % secondsPerHour / secondsPerMinute),
        .second = static_cast<int>(secondOfDay % secondsPerMinute),
        .millisecond = static_cast<int>(floorMod(milliseconds, millisecondsPerSecond)),
        .secondsFromGMT = offset,
    };
}

std::optional<Date> Calendar::date(const DateComponents& components, const TimeZone& zone) const {
    using namespace std::chrono;
    // The chrono field types keep only the low bits of what they are given, so
    // the ranges are checked on the plain numbers first.
    if (!isWithin(components.year, static_cast<int>(year::min()), static_cast<int>(year::max())) ||
        !isWithin(components.month, 1, 12) || !isWithin(components.day, 1, 31) ||
        !isWithin(components.hour, 0, 23) || !isWithin(components.minute, 0, 59) ||
        !isWithin(components.second, 0, 59) || !isWithin(components.millisecond, 0, 999)) {
        return std::nullopt;
    }
    const year_month_day civil{year{components.year}, month{static_cast<unsigned>(components.month)},
                               day{static_cast<unsigned>(components.day)}};
    if (!civil.ok()) {
        return std::nullopt;
    }
    std::optional<TimeZone> ownZone;
    if (components.secondsFromGMT) {
        ownZone = TimeZone::fromSecondsFromGMT(*components.secondsFromGMT);
        if (!ownZone) {
            return std::nullopt;
        }
    }
    const std::int64_t wall = sys_days{civil}.time_since_epoch().count() * secondsPerDay +
                              components.hour * secondsPerHour + components.minute * secondsPerMinute +
                              components.second;
    const std::int64_t unixTime = ownZone.value_or(zone).unixTime(wall);
    const std::int64_t milliseconds =
        (unixTime - referenceDateUnixTime) * millisecondsPerSecond + components.millisecond;
    // One division of two exact numbers: the nearest double to the decimal text.
    const double seconds = static_cast<double>(milliseconds) / 1000.0;
    if (!isSupported(seconds)) {
        return std::nullopt;
    }
    return Date::fromTimeIntervalSinceReferenceDate(seconds);
}

}  // namespace foundation
