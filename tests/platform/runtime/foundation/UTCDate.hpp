#pragma once

#include "platform/runtime/foundation/core/Date.hpp"

#include <chrono>

namespace foundation {

// A moment written as GMT fields, worked out with the standard library's
// calendar so that expectations do not lean on the code under test.
inline Date utc(int year, unsigned month, unsigned day, int hour = 0, int minute = 0, int second = 0,
                int millisecond = 0) {
    using namespace std::chrono;
    const sys_time<milliseconds> moment = sys_days{std::chrono::year{year} / month / day} + hours{hour} +
                                          minutes{minute} + seconds{second} + milliseconds{millisecond};
    const milliseconds sinceReferenceDate = moment - sys_days{std::chrono::year{2001} / 1 / 1};
    return Date::fromTimeIntervalSinceReferenceDate(static_cast<double>(sinceReferenceDate.count()) / 1000.0);
}

}  // namespace foundation
