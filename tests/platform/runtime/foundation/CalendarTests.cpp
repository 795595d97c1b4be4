#include "platform/runtime/foundation/core/Calendar.hpp"

#include "tests/support/ScopedEnvironment.hpp"
#include "tests/platform/runtime/foundation/UTCDate.hpp"

#include <gtest/gtest.h>

#include <compare>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

namespace foundation {
namespace {

using Component = Calendar::Component;

// The calendar works on the user's zone, which comes from TZ; each test pins
// it and puts it back.
class CalendarInUsersZone : public testing::Test {
protected:
    testsupport::ScopedEnvironment environment_;
    const Calendar calendar_ = Calendar::current();
};

TEST_F(CalendarInUsersZone, AddsMinutesAsElapsedTimeAndDaysOnTheWallClock) {
    struct Case {
        const char* zone;
        Date start;
        Component component;
        std::int64_t value;
        Date expected;
        const char* what;
    };
    // Berlin: summer time begins 2023-03-26 at 01:00 GMT (02:00 becomes
    // 03:00) and ends 2023-10-29 at 01:00 GMT (03:00 becomes 02:00).
    const Case cases[] = {
        {"Europe/Berlin", utc(2023, 3, 26, 0, 50), Component::minute, 15, utc(2023, 3, 26, 1, 5),
         "01:50 plus a quarter of an hour is 03:05 after the jump"},
        {"Europe/Berlin", utc(2023, 10, 29, 0, 50), Component::minute, 15, utc(2023, 10, 29, 1, 5),
         "02:50 summer time plus a quarter of an hour is 02:05 winter time"},
        {"Europe/Berlin", utc(2023, 4, 5, 10), Component::minute, -90, utc(2023, 4, 5, 8, 30), "backwards"},
        {"Europe/Berlin", utc(2023, 3, 25, 11), Component::day, 1, utc(2023, 3, 26, 10),
         "noon to noon over the spring night: 23 hours"},
        {"Europe/Berlin", utc(2023, 10, 28, 10), Component::day, 1, utc(2023, 10, 29, 11),
         "noon to noon over the autumn night: 25 hours"},
        {"Europe/Berlin", utc(2023, 3, 26, 10), Component::day, -1, utc(2023, 3, 25, 11),
         "yesterday at the same time, before the jump"},
        {"America/New_York", utc(2023, 3, 12, 16), Component::day, -1, utc(2023, 3, 11, 17),
         "yesterday at noon, before the jump"},
        {"Europe/Berlin", utc(2023, 3, 25, 1, 30), Component::day, 1, utc(2023, 3, 26, 1, 30),
         "02:30 is skipped the next day: 03:30 summer time"},
        {"Europe/Berlin", utc(2023, 10, 28, 0, 30), Component::day, 1, utc(2023, 10, 29, 0, 30),
         "02:30 comes twice the next day: its first showing, in summer time"},
        {"Europe/Berlin", utc(2024, 2, 28, 11, 0, 0, 250), Component::day, 1, utc(2024, 2, 29, 11, 0, 0, 250),
         "onto a leap day, keeping the fraction of a second"},
        {"Europe/Berlin", utc(2023, 12, 31, 22, 30), Component::day, 1, utc(2024, 1, 1, 22, 30),
         "23:30 on New Year's Eve to 23:30 on New Year's Day"},
        {"Asia/Kolkata", utc(2023, 4, 5, 12), Component::day, 30, utc(2023, 5, 5, 12), "a month of days"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + ": " + c.what);
        environment_.set("TZ", c.zone);
        EXPECT_EQ(calendar_.dateByAdding(c.component, c.value, c.start), c.expected);
    }
}

TEST_F(CalendarInUsersZone, StartsADayAtItsFirstMomentOnTheUsersClock) {
    struct Case {
        const char* zone;
        Date date;
        Date expected;
    };
    const Case cases[] = {
        {"Europe/Berlin", utc(2023, 4, 5, 15), utc(2023, 4, 4, 22)},
        {"Europe/Berlin", utc(2023, 4, 4, 22, 30), utc(2023, 4, 4, 22)},
        {"Europe/Berlin", utc(2023, 4, 4, 22), utc(2023, 4, 4, 22)},
        {"Europe/Berlin", utc(2023, 4, 4, 22, 0, 0, 500), utc(2023, 4, 4, 22)},
        {"Europe/Berlin", utc(2023, 3, 26, 15), utc(2023, 3, 25, 23)},
        {"Europe/Berlin", utc(2023, 10, 29, 20), utc(2023, 10, 28, 22)},
        {"America/New_York", utc(2023, 4, 5, 2, 30), utc(2023, 4, 4, 4)},
        // Havana's clocks jumped from midnight to 01:00 that day.
        {"America/Havana", utc(2023, 3, 12, 15), utc(2023, 3, 12, 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        environment_.set("TZ", c.zone);
        EXPECT_EQ(calendar_.startOfDay(c.date), c.expected);
    }
}

TEST_F(CalendarInUsersZone, ComparesDatesByTheDayOrMinuteTheyFallIn) {
    struct Case {
        const char* zone;
        Date date;
        Date other;
        Component granularity;
        std::strong_ordering expected;
    };
    const Case cases[] = {
        // 00:30 and 23:59 of the same Berlin day, on two GMT days.
        {"Europe/Berlin", utc(2023, 4, 4, 22, 30), utc(2023, 4, 5, 21, 59), Component::day,
         std::strong_ordering::equal},
        // 23:30 and 00:30 of two Berlin days, on one GMT day.
        {"Europe/Berlin", utc(2023, 4, 4, 21, 30), utc(2023, 4, 4, 22, 30), Component::day,
         std::strong_ordering::less},
        {"Europe/Berlin", utc(2023, 4, 4, 22, 30), utc(2023, 4, 4, 21, 30), Component::day,
         std::strong_ordering::greater},
        // 22:30 and 08:00 of the same New York day, on two GMT days.
        {"America/New_York", utc(2023, 4, 5, 2, 30), utc(2023, 4, 4, 12), Component::day,
         std::strong_ordering::equal},
        // 00:30 and 23:30 of the 25-hour autumn day.
        {"Europe/Berlin", utc(2023, 10, 28, 22, 30), utc(2023, 10, 29, 22, 30), Component::day,
         std::strong_ordering::equal},
        {"Europe/Berlin", utc(2023, 4, 5, 10), utc(2024, 4, 5, 10), Component::day,
         std::strong_ordering::less},
        // 02:59 summer time comes before 02:00 winter time, whatever the clock face says.
        {"Europe/Berlin", utc(2023, 10, 29, 0, 59, 30), utc(2023, 10, 29, 1, 0, 10), Component::minute,
         std::strong_ordering::less},
        {"Europe/Berlin", utc(2023, 4, 5, 10, 0, 1), utc(2023, 4, 5, 10, 0, 59), Component::minute,
         std::strong_ordering::equal},
        {"Asia/Kolkata", utc(2023, 4, 5, 10, 0, 59), utc(2023, 4, 5, 10, 1), Component::minute,
         std::strong_ordering::less},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        environment_.set("TZ", c.zone);
        EXPECT_EQ(calendar_.compare(c.date, c.other, c.granularity), c.expected);
        if (c.granularity == Component::day) {
            EXPECT_EQ(calendar_.isDateInSameDayAs(c.date, c.other),
                      c.expected == std::strong_ordering::equal);
        }
    }
}

TEST_F(CalendarInUsersZone, TodayRunsFromTheUsersMidnightToTheNext) {
    for (const char* zone :
         {"Europe/Berlin", "America/New_York", "Pacific/Kiritimati", "Pacific/Pago_Pago"}) {
        SCOPED_TRACE(zone);
        environment_.set("TZ", zone);
        const Date now = Date::now();
        const Date start = calendar_.startOfDay(now);
        const Date tomorrow = calendar_.dateByAdding(Component::day, 1, start).value();
        EXPECT_TRUE(calendar_.isDateInToday(now));
        EXPECT_TRUE(calendar_.isDateInToday(start));
        EXPECT_TRUE(calendar_.isDateInToday(tomorrow.addingTimeInterval(-0.001)));
        EXPECT_FALSE(calendar_.isDateInToday(start.addingTimeInterval(-0.001)));
        EXPECT_FALSE(calendar_.isDateInToday(tomorrow));
        EXPECT_FALSE(calendar_.isDateInToday(calendar_.dateByAdding(Component::day, -1, now).value()));
        EXPECT_EQ(calendar_.compare(now, tomorrow, Component::day), std::strong_ordering::less);
    }
}

TEST(Calendar, RefusesDatesItCannotPlace) {
    const Calendar calendar = Calendar::current();
    const Date now = Date::now();
    const Date dates[] = {
        Date::fromTimeIntervalSinceReferenceDate(std::numeric_limits<double>::quiet_NaN()),
        Date::fromTimeIntervalSinceReferenceDate(std::numeric_limits<double>::infinity()),
        Date::fromTimeIntervalSinceReferenceDate(-std::numeric_limits<double>::infinity()),
        Date::fromTimeIntervalSinceReferenceDate(1e13),
    };
    for (const Date date : dates) {
        SCOPED_TRACE(date.timeIntervalSinceReferenceDate());
        EXPECT_EQ(calendar.dateByAdding(Component::day, 1, date), std::nullopt);
        EXPECT_EQ(calendar.dateByAdding(Component::minute, 1, date), std::nullopt);
        EXPECT_THROW((void)calendar.startOfDay(date), std::out_of_range);
        EXPECT_THROW((void)calendar.isDateInToday(date), std::out_of_range);
        EXPECT_THROW((void)calendar.compare(now, date, Component::day), std::out_of_range);
        EXPECT_THROW((void)calendar.dateComponents(TimeZone::current(), date), std::out_of_range);
    }
    for (const std::int64_t count :
         {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::min(),
          std::int64_t{20'000'000'000}}) {
        EXPECT_EQ(calendar.dateByAdding(Component::day, count, now), std::nullopt);
        EXPECT_EQ(calendar.dateByAdding(Component::minute, count, now), std::nullopt);
    }
}

TEST(Calendar, BuildsNoDateFromFieldsOutOfRange) {
    const Calendar calendar = Calendar::current();
    const TimeZone gmt = TimeZone::fromSecondsFromGMT(0).value();
    DateComponents valid;
    valid.year = 2023;
    valid.month = 4;
    valid.day = 5;
    valid.hour = 6;
    valid.minute = 7;
    valid.second = 8;
    ASSERT_EQ(calendar.date(valid, gmt), utc(2023, 4, 5, 6, 7, 8));

    struct Case {
        int DateComponents::*field;
        int value;
    };
    // Among them values whose low bits alone would make a valid field.
    const Case cases[] = {
        {&DateComponents::year, 65536 + 2023}, {&DateComponents::month, 256 + 4},
        {&DateComponents::month, -1},          {&DateComponents::day, 256 + 5},
        {&DateComponents::hour, -1},           {&DateComponents::millisecond, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        DateComponents components = valid;
        components.*c.field = c.value;
        EXPECT_EQ(calendar.date(components, gmt), std::nullopt);
    }
    DateComponents farOffset = valid;
    farOffset.secondsFromGMT = 18 * 3600 + 1;
    EXPECT_EQ(calendar.date(farOffset, gmt), std::nullopt);
}

}  // namespace
}  // namespace foundation
