#include "platform/runtime/foundation/core/TimeZone.hpp"

#include <stdexcept>
#include <time.h>

namespace foundation {

namespace {

// The caller has run tzset(): localtime_r, unlike localtime, need not reread TZ.
int localSecondsFromGMT(std::int64_t unixTime) {
    const auto seconds = static_cast<time_t>(unixTime);
    tm fields{};
    if (localtime_r(&seconds, &fields) == nullptr) {
        throw std::out_of_range("TimeZone: the local time zone cannot place this moment");
    }
    return static_cast<int>(fields.tm_gmtoff);
}

}  // namespace

int TimeZone::secondsFromGMT(std::int64_t unixTime) const {
    if (!current_) {
        return fixedSecondsFromGMT_;
    }
    tzset();
    return localSecondsFromGMT(unixTime);
}

std::int64_t TimeZone::unixTime(std::int64_t wallClockTime) const {
    if (!current_) {
        return wallClockTime - fixedSecondsFromGMT_;
    }
    tzset();
    // A day either side of the wall-clock time lies before and after any
    // change of offset that could apply to it, since offsets stay within a
    // day; zones do not change twice within two days.
    constexpr std::int64_t day = 24 * 60 * 60;
    const int before = localSecondsFromGMT(wallClockTime - day);
    const int after = localSecondsFromGMT(wallClockTime + day);
    const auto showsWallClockTime = [wallClockTime](int offset) {
        return localSecondsFromGMT(wallClockTime - offset) == offset;
    };
    // When both offsets show the time (the clocks fell back), the one in
    // force before the change gives its first showing.
    if (showsWallClockTime(before)) {
        return wallClockTime - before;
    }
    if (showsWallClockTime(after)) {
        return wallClockTime - after;
    }
    return wallClockTime - before;
}

}  // namespace foundation
