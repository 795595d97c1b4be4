#pragma once

#include <optional>

namespace foundation {

// A moment as a clock shows it, to the millisecond, in the proleptic
// Gregorian calendar (year 0 is 1 BC).
struct DateComponents {
    int year = 1;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    // The clock's distance from GMT. When present it decides the moment the
    // fields stand for, whatever zone they are read in.
    std::optional<int> secondsFromGMT;

    friend bool operator==(const DateComponents&, const DateComponents&) = default;
};

}  // namespace foundation
