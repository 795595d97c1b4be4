#include "platform/runtime/foundation/core/DateFormatter.hpp"

#include "tests/support/ScopedEnvironment.hpp"
#include "tests/platform/runtime/foundation/UTCDate.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace foundation {
namespace {

constexpr std::string_view withMilliseconds = "yyyy-MM-dd'T'HH:mm:ss.SSSXXXXX";
constexpr std::string_view withoutMilliseconds = "yyyy-MM-dd'T'HH:mm:ssXXXXX";
constexpr std::string_view dayOnly = "yyyy-MM-dd";

TimeZone gmtPlus(int seconds) {
    return TimeZone::fromSecondsFromGMT(seconds).value();
}

// Set up as the API client reads server dates: calendar, locale and zone
// first, the format last.
DateFormatter serverFormatter(std::string_view format) {
    DateFormatter formatter;
    formatter.setCalendar(Calendar(Calendar::Identifier::iso8601));
    formatter.setLocale(Locale("en_US_POSIX"));
    formatter.setTimeZone(gmtPlus(0));
    formatter.setDateFormat(format);
    return formatter;
}

TEST(DateFormatter, ReadsTheServerFormsAndWritesThemBackInGMT) {
    struct Case {
        std::string_view format;
        std::string_view text;
        Date expected;
        std::string_view writtenInGMT;
    };
    const Case cases[] = {
        {withMilliseconds, "2023-04-05T06:07:08.123Z", utc(2023, 4, 5, 6, 7, 8, 123),
         "2023-04-05T06:07:08.123Z"},
        {withMilliseconds, "2023-04-05T06:07:08.123+02:00", utc(2023, 4, 5, 4, 7, 8, 123),
         "2023-04-05T04:07:08.123Z"},
        {withMilliseconds, "2023-04-05T06:07:08.123-05:30", utc(2023, 4, 5, 11, 37, 8, 123),
         "2023-04-05T11:37:08.123Z"},
        {withMilliseconds, "2023-04-05T06:07:08.000Z", utc(2023, 4, 5, 6, 7, 8), "2023-04-05T06:07:08.000Z"},
        {withMilliseconds, "2023-04-05T06:07:08.009Z", utc(2023, 4, 5, 6, 7, 8, 9),
         "2023-04-05T06:07:08.009Z"},
        {withMilliseconds, "2024-02-29T23:59:59.999Z", utc(2024, 2, 29, 23, 59, 59, 999),
         "2024-02-29T23:59:59.999Z"},
        {withMilliseconds, "2023-12-31T23:30:00.001-01:00", utc(2024, 1, 1, 0, 30, 0, 1),
         "2024-01-01T00:30:00.001Z"},
        // Before 2001 and before 1970 the whole seconds count down while the
        // milliseconds still count up within the second.
        {withMilliseconds, "2000-12-31T23:59:59.999Z", utc(2000, 12, 31, 23, 59, 59, 999),
         "2000-12-31T23:59:59.999Z"},
        {withMilliseconds, "1969-12-31T23:59:59.500Z", utc(1969, 12, 31, 23, 59, 59, 500),
         "1969-12-31T23:59:59.500Z"},
        {withoutMilliseconds, "2023-04-05T06:07:08Z", utc(2023, 4, 5, 6, 7, 8), "2023-04-05T06:07:08Z"},
        {withoutMilliseconds, "2023-04-05T06:07:08+02:00", utc(2023, 4, 5, 4, 7, 8), "2023-04-05T04:07:08Z"},
        {withoutMilliseconds, "2023-04-05T06:07:08-05:30", utc(2023, 4, 5, 11, 37, 8),
         "2023-04-05T11:37:08Z"},
        {withoutMilliseconds, "2024-02-29T00:00:00-00:00", utc(2024, 2, 29), "2024-02-29T00:00:00Z"},
        {withoutMilliseconds, "2023-04-05T06:07:08+18:00", utc(2023, 4, 4, 12, 7, 8), "2023-04-04T12:07:08Z"},
        {withoutMilliseconds, "0000-01-01T00:00:00Z", utc(0, 1, 1), "0000-01-01T00:00:00Z"},
        {withoutMilliseconds, "9999-12-31T23:59:59Z", utc(9999, 12, 31, 23, 59, 59), "9999-12-31T23:59:59Z"},
        {dayOnly, "2024-02-29", utc(2024, 2, 29), "2024-02-29"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const DateFormatter formatter = serverFormatter(c.format);
        const std::optional<Date> date = formatter.date(c.text);
        ASSERT_TRUE(date.has_value());
        EXPECT_EQ(*date, c.expected);
        EXPECT_EQ(formatter.string(*date), c.writtenInGMT);
    }
}

TEST(DateFormatter, RefusesTextThatIsNotExactlyItsForm) {
    struct Case {
        std::string_view format;
        std::string_view text;
        std::string_view fault;
    };
    const Case cases[] = {
        {withMilliseconds, "", "empty"},
        {withMilliseconds, "2023-04-05", "date only"},
        {withMilliseconds, "2023-04-05 06:07:08.123Z", "blank for T"},
        {withMilliseconds, "2023-04-05t06:07:08.123Z", "lower-case t"},
        {withMilliseconds, "2023-04-05T06:07:08Z", "no fraction"},
        {withMilliseconds, "2023-04-05T06:07:08.12Z", "two fraction digits"},
        {withMilliseconds, "2023-04-05T06:07:08.1234Z", "four fraction digits"},
        {withMilliseconds, "2023-04-05T06:07:08,123Z", "comma before the fraction"},
        {withMilliseconds, "2023-04-05T06:07:08.123", "no offset"},
        {withMilliseconds, "2023-04-05T06:07:08.123z", "lower-case z"},
        {withMilliseconds, "2023-04-05T06:07:08.123+0200", "offset without colon"},
        {withMilliseconds, "2023-04-05T06:07:08.123+2:00", "one-digit offset hours"},
        {withMilliseconds, "2023-04-05T06:07:08.123+02", "offset without minutes"},
        {withMilliseconds, "2023-04-05T06:07:08.123+02:60", "offset minutes out of range"},
        {withMilliseconds, "2023-04-05T06:07:08.123+18:01", "offset beyond 18 hours"},
        {withMilliseconds, "2023-04-05T06:07:08.123Zjunk", "trailing text"},
        {withMilliseconds, "2023-04-05T06:07:08.123Z ", "trailing blank"},
        {withMilliseconds, " 2023-04-05T06:07:08.123Z", "leading blank"},
        {withoutMilliseconds, "", "empty"},
        {withoutMilliseconds, "2023-04-05", "date only"},
        {withoutMilliseconds, "2023-04-05T06:07", "no seconds"},
        {withoutMilliseconds, "2023-04-05 06:07:08Z", "blank for T"},
        {withoutMilliseconds, "2023-04-05T06:07:08.123Z", "a fraction"},
        {withoutMilliseconds, "2023-04-05T06:07:08", "no offset"},
        {withoutMilliseconds, "2023-04-05T06:07:08+02:00:00", "offset with seconds"},
        {withoutMilliseconds, "2023-04-05T06:07:08Z\n", "trailing line break"},
        {withoutMilliseconds, "2023-04-05T24:00:00Z", "hour 24"},
        {withoutMilliseconds, "2023-04-05T06:60:00Z", "minute 60"},
        {withoutMilliseconds, "2023-04-05T06:07:60Z", "second 60"},
        {withoutMilliseconds, "2023-02-29T12:00:00Z", "February 29 of a common year"},
        {withoutMilliseconds, "1900-02-29T12:00:00Z", "February 29 of a century year"},
        {withoutMilliseconds, "2023-04-31T12:00:00Z", "April 31"},
        {withoutMilliseconds, "2023-00-05T12:00:00Z", "month 0"},
        {withoutMilliseconds, "2023-13-05T12:00:00Z", "month 13"},
        {withoutMilliseconds, "2023-04-00T12:00:00Z", "day 0"},
        {withoutMilliseconds, "23-04-05T06:07:08Z", "two-digit year"},
        {withoutMilliseconds, "+2023-04-05T06:07:08Z", "signed year"},
        {withoutMilliseconds, "2023-4-05T06:07:08Z", "one-digit month"},
        {withoutMilliseconds, "2023-04-05T6:07:08Z", "one-digit hour"},
        {withoutMilliseconds, "2023-04-0\xD9\xA5T06:07:08Z", "a digit that is not ASCII"},
        {dayOnly, "", "empty"},
        {dayOnly, "2023-04-05T06:07:08Z", "a full timestamp"},
        {dayOnly, "2023-04-05 ", "trailing blank"},
        {dayOnly, "2023-4-5", "one-digit month and day"},
        {dayOnly, "20230405", "no separators"},
        {dayOnly, "2023/04/05", "slashes"},
        {dayOnly, "2023-02-29", "February 29 of a common year"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fault) + ": \"" + std::string(c.text) + "\"");
        EXPECT_EQ(serverFormatter(c.format).date(c.text), std::nullopt);
    }
}

TEST(DateFormatter, WritesTheOffsetAndDayOfItsZoneToTheMillisecond) {
    struct Case {
        TimeZone zone;
        std::string_view format;
        Date date;
        std::string_view expected;
    };
    const Date moment = utc(2023, 4, 5, 4, 7, 8, 123);
    const Case cases[] = {
        {gmtPlus(2 * 3600), withMilliseconds, moment, "2023-04-05T06:07:08.123+02:00"},
        {gmtPlus(-(5 * 3600 + 30 * 60)), withMilliseconds, moment, "2023-04-04T22:37:08.123-05:30"},
        {gmtPlus(-(5 * 3600 + 30 * 60)), withoutMilliseconds, moment, "2023-04-04T22:37:08-05:30"},
        {gmtPlus(-(5 * 3600 + 30 * 60)), dayOnly, moment, "2023-04-04"},
        {gmtPlus(14 * 3600), dayOnly, utc(2023, 4, 4, 10), "2023-04-05"},
        {gmtPlus(3600 + 1), withoutMilliseconds, utc(2023, 4, 5), "2023-04-05T01:00:01+01:00:01"},
        // Written to the nearest millisecond, carrying into the next second,
        // minute, day and year.
        {gmtPlus(0), withMilliseconds, moment.addingTimeInterval(0.0004), "2023-04-05T04:07:08.123Z"},
        {gmtPlus(0), withMilliseconds, moment.addingTimeInterval(0.0006), "2023-04-05T04:07:08.124Z"},
        {gmtPlus(0), withMilliseconds, utc(2023, 12, 31, 23, 59, 59, 999).addingTimeInterval(0.0006),
         "2024-01-01T00:00:00.000Z"},
        // The form without milliseconds drops them rather than rounding up.
        {gmtPlus(0), withoutMilliseconds, moment.addingTimeInterval(0.8), "2023-04-05T04:07:08Z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        DateFormatter formatter;
        formatter.setTimeZone(c.zone);
        formatter.setDateFormat(c.format);
        EXPECT_EQ(formatter.string(c.date), c.expected);
    }
}

TEST(DateFormatter, TakesItsFormatAfterItsSettingsAndCanSwitchToAnother) {
    DateFormatter formatter;
    formatter.setCalendar(Calendar(Calendar::Identifier::iso8601));
    formatter.setLocale(Locale("en_US_POSIX"));
    formatter.setTimeZone(gmtPlus(0));

    formatter.setDateFormat(withMilliseconds);
    EXPECT_EQ(formatter.date("2023-04-05T06:07:08Z"), std::nullopt);
    formatter.setDateFormat(withoutMilliseconds);
    EXPECT_EQ(formatter.date("2023-04-05T06:07:08Z"), utc(2023, 4, 5, 6, 7, 8));

    EXPECT_EQ(formatter.dateFormat(), withoutMilliseconds);
    EXPECT_EQ(formatter.calendar().identifier(), Calendar::Identifier::iso8601);
    EXPECT_EQ(formatter.locale().identifier(), "en_US_POSIX");
    EXPECT_EQ(formatter.timeZone(), gmtPlus(0));
}

TEST(DateFormatter, WithoutAFormatReadsNothingAndWritesEmptyText) {
    const DateFormatter formatter;
    EXPECT_EQ(formatter.dateFormat(), "");
    EXPECT_EQ(formatter.date("2023-04-05"), std::nullopt);
    EXPECT_EQ(formatter.string(utc(2023, 4, 5)), "");
}

TEST(DateFormatter, RefusesAnUnsupportedFormatAndKeepsItsOwn) {
    const std::string_view formats[] = {
        "yyyy-MM-dd HH:mm:ss", "YYYY-MM-dd", "yyyy-MM-dd'T'HH:mm:ss.SSSZ", "yyyy-MM-dd'T'HH:mm:ssXXX",
        "yyyy-MM-dd ",         "dd.MM.yyyy", "yyyy-MM-dd'T'HH:mm:ss.SSS",
    };
    for (const std::string_view format : formats) {
        SCOPED_TRACE(format);
        DateFormatter formatter;
        formatter.setDateFormat(dayOnly);
        try {
            formatter.setDateFormat(format);
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string_view(error.what()).find(format), std::string_view::npos) << error.what();
        }
        EXPECT_EQ(formatter.dateFormat(), dayOnly);
    }
}

TEST(DateFormatter, RefusesToWriteAYearWithoutAFourDigitForm) {
    const Date dates[] = {utc(10000, 1, 1), utc(-1, 12, 31, 23, 59, 59)};
    for (const Date date : dates) {
        EXPECT_THROW((void)serverFormatter(dayOnly).string(date), std::out_of_range);
    }
    EXPECT_THROW((void)serverFormatter(dayOnly).string(
                     Date::fromTimeIntervalSinceReferenceDate(std::numeric_limits<double>::infinity())),
                 std::out_of_range);
}

// The user's zone comes from TZ; each test pins it and puts it back.
class DateFormatterInUsersZone : public testing::Test {
protected:
    testsupport::ScopedEnvironment environment_;
};

TEST_F(DateFormatterInUsersZone, WritesTheDayOnTheUsersClock) {
    struct Case {
        const char* zone;
        Date date;
        std::string_view day;
    };
    const Case cases[] = {
        // 00:30 in Berlin is already the new day while GMT is still on the old one.
        {"Europe/Berlin", utc(2023, 4, 4, 22, 30), "2023-04-05"},
        {"Europe/Berlin", utc(2023, 1, 4, 23, 30), "2023-01-05"},
        {"Europe/Berlin", utc(2023, 4, 4, 21, 59, 59), "2023-04-04"},
        // 22:30 in New York is still the old day while GMT is on the new one.
        {"America/New_York", utc(2023, 4, 5, 2, 30), "2023-04-04"},
        {"America/New_York", utc(2023, 4, 5, 4), "2023-04-05"},
        {"Asia/Kolkata", utc(2023, 4, 4, 19), "2023-04-05"},
        {"Pacific/Kiritimati", utc(2023, 4, 4, 10, 30), "2023-04-05"},
        {"Pacific/Pago_Pago", utc(2023, 4, 5, 10, 30), "2023-04-04"},
        {"UTC", utc(2023, 4, 4, 23, 59, 59), "2023-04-04"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zone);
        environment_.set("TZ", c.zone);
        DateFormatter formatter;
        formatter.setDateFormat(dayOnly);
        EXPECT_EQ(formatter.string(c.date), c.day);
    }
}

TEST_F(DateFormatterInUsersZone, ReadsADayAsItsFirstMomentOnTheUsersClock) {
    struct Case {
        const char* zone;
        std::string_view day;
        Date expected;
    };
    const Case cases[] = {
        {"Europe/Berlin", "2023-04-05", utc(2023, 4, 4, 22)},
        {"Europe/Berlin", "2023-01-05", utc(2023, 1, 4, 23)},
        {"Europe/Berlin", "2023-03-26", utc(2023, 3, 25, 23)},
        {"America/New_York", "2023-04-05", utc(2023, 4, 5, 4)},
        // Clocks that jump from midnight straight to 01:00 start the day at 01:00.
        {"America/Havana", "2023-03-12", utc(2023, 3, 12, 5)},
        {"America/Santiago", "2023-09-03", utc(2023, 9, 3, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + std::string(c.day));
        environment_.set("TZ", c.zone);
        DateFormatter formatter;
        formatter.setDateFormat(dayOnly);
        const std::optional<Date> date = formatter.date(c.day);
        ASSERT_TRUE(date.has_value());
        EXPECT_EQ(*date, c.expected);
        EXPECT_EQ(formatter.string(*date), c.day);
    }
}

TEST_F(DateFormatterInUsersZone, FollowsAChangeOfZoneWithoutBeingMadeAgain) {
    DateFormatter formatter;
    formatter.setDateFormat(dayOnly);
    const Date moment = utc(2023, 4, 4, 23, 30);
    environment_.set("TZ", "Europe/Berlin");
    EXPECT_EQ(formatter.string(moment), "2023-04-05");
    environment_.set("TZ", "America/New_York");
    EXPECT_EQ(formatter.string(moment), "2023-04-04");
}

TEST_F(DateFormatterInUsersZone, WritesTheUsersOffsetOfTheDayButAFixedZoneIgnoresIt) {
    environment_.set("TZ", "Europe/Berlin");
    DateFormatter local;
    local.setDateFormat(withMilliseconds);
    EXPECT_EQ(local.string(utc(2023, 7, 1, 10)), "2023-07-01T12:00:00.000+02:00");
    EXPECT_EQ(local.string(utc(2023, 1, 1, 10)), "2023-01-01T11:00:00.000+01:00");

    EXPECT_EQ(serverFormatter(withMilliseconds).string(utc(2023, 7, 1, 10)), "2023-07-01T10:00:00.000Z");
    EXPECT_EQ(serverFormatter(dayOnly).string(utc(2023, 4, 4, 22, 30)), "2023-04-04");
    EXPECT_EQ(serverFormatter(dayOnly).date("2023-04-05"), utc(2023, 4, 5));
}

}  // namespace
}  // namespace foundation
