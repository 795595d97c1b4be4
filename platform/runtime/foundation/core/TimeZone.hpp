#pragma once

#include <cstdint>
#include <optional>

namespace foundation {

// Either the user's own zone or a zone at a fixed distance from GMT. Both are
// a few bytes and are made without looking anything up, so a formatter per
// decoded value stays cheap.
//
// Times here are whole seconds since 1970-01-01 00:00:00: "unix time" counts
// elapsed seconds, "wall-clock time" counts them as the zone's clocks show them
// (unix time plus the zone's offset at that moment).
class TimeZone {
public:
    // No zone's clocks run further from GMT than this.
    static constexpr int maximumSecondsFromGMT = 18 * 60 * 60;

    // The zone of the user's clock: TZ when set, else the system's zone. It is
    // read at every use, so a process sees a change of TZ (after tzset) at once.
    static constexpr TimeZone current() noexcept { return TimeZone(true, 0); }

    // A zone whose clocks always run `seconds` ahead of GMT (behind when
    // negative); none beyond 18 hours either way.
    static constexpr std::optional<TimeZone> fromSecondsFromGMT(int seconds) noexcept {
        if (seconds < -maximumSecondsFromGMT || seconds > maximumSecondsFromGMT) {
            return std::nullopt;
        }
        return TimeZone(false, seconds);
    }

    [[nodiscard]] int secondsFromGMT(std::int64_t unixTime) const;

    // The moment at which the zone's clocks show `wallClockTime`. A time the
    // clocks skip when they jump forward is read with the offset in force
    // before the jump, so it lands as far past the jump as it was into the
    // gap (02:30 on a night that jumps from 02:00 to 03:00 is 03:30). A time
    // the clocks show twice when they fall back is its first showing.
    [[nodiscard]] std::int64_t unixTime(std::int64_t wallClockTime) const;

    friend constexpr bool operator==(const TimeZone&, const TimeZone&) = default;

private:
    constexpr TimeZone(bool current, int secondsFromGMT) noexcept
        : current_(current), fixedSecondsFromGMT_(secondsFromGMT) {}

    bool current_;
    int fixedSecondsFromGMT_;
};

}  // namespace foundation
