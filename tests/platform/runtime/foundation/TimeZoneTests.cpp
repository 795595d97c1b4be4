#include "platform/runtime/foundation/core/TimeZone.hpp"

#include "tests/support/ScopedEnvironment.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace foundation {
namespace {

TEST(TimeZone, FixedOffsetsReachEighteenHoursEitherWay) {
    struct Case {
        int seconds;
        bool valid;
    };
    const Case cases[] = {
        {0, true},          {5 * 3600 + 30 * 60, true}, {18 * 3600, true},
        {-18 * 3600, true}, {18 * 3600 + 1, false},     {-18 * 3600 - 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        const std::optional<TimeZone> zone = TimeZone::fromSecondsFromGMT(c.seconds);
        ASSERT_EQ(zone.has_value(), c.valid);
        if (zone) {
            EXPECT_EQ(zone->secondsFromGMT(0), c.seconds);
            EXPECT_EQ(zone->unixTime(1000), 1000 - c.seconds);
        }
    }
}

TEST(TimeZone, TheUsersZoneFollowsTZAndAFixedOneDoesNot) {
    testsupport::ScopedEnvironment environment;
    const TimeZone plusOne = TimeZone::fromSecondsFromGMT(3600).value();
    // 2023-01-15 and 2023-07-15 at noon GMT.
    const std::int64_t winter = 1673784000;
    const std::int64_t summer = 1689422400;

    environment.set("TZ", "Europe/Berlin");
    EXPECT_EQ(TimeZone::current().secondsFromGMT(winter), 3600);
    EXPECT_EQ(TimeZone::current().secondsFromGMT(summer), 7200);
    environment.set("TZ", "America/St_Johns");
    EXPECT_EQ(TimeZone::current().secondsFromGMT(winter), -(3 * 3600 + 30 * 60));
    EXPECT_EQ(TimeZone::current().secondsFromGMT(summer), -(2 * 3600 + 30 * 60));
    EXPECT_EQ(plusOne.secondsFromGMT(summer), 3600);
    EXPECT_NE(TimeZone::current(), plusOne);
}

}  // namespace
}  // namespace foundation
