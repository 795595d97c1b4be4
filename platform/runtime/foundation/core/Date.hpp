#pragma once

#include <compare>

namespace foundation {

class Hasher;

// An instant, held as seconds since 2001-01-01 00:00:00 UTC (the reference
// date), which is also the number the default JSON coding writes.
class Date {
public:
    // Seconds between 1970-01-01 and the reference date.
    static constexpr double timeIntervalBetween1970AndReferenceDate = 978307200.0;

    constexpr Date() = default;
    static constexpr Date fromTimeIntervalSinceReferenceDate(double seconds) { return Date(seconds); }
    static constexpr Date fromTimeIntervalSince1970(double seconds) {
        return Date(seconds - timeIntervalBetween1970AndReferenceDate);
    }
    static Date now();

    [[nodiscard]] constexpr double timeIntervalSinceReferenceDate() const { return seconds_; }
    [[nodiscard]] constexpr double timeIntervalSince1970() const {
        return seconds_ + timeIntervalBetween1970AndReferenceDate;
    }
    [[nodiscard]] constexpr Date addingTimeInterval(double seconds) const { return Date(seconds_ + seconds); }

    // Instants compare as numbers, so 0.0 and -0.0 are the same instant.
    friend constexpr bool operator==(Date a, Date b) { return a.seconds_ == b.seconds_; }
    friend constexpr std::partial_ordering operator<=>(Date a, Date b) { return a.seconds_ <=> b.seconds_; }
    void hash(Hasher& hasher) const;

private:
    constexpr explicit Date(double seconds) : seconds_(seconds) {}
    double seconds_ = 0.0;
};

}  // namespace foundation
