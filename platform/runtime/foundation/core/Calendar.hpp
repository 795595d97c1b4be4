#pragma once

#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/core/DateComponents.hpp"
#include "platform/runtime/foundation/core/TimeZone.hpp"

#include <compare>
#include <cstdint>
#include <optional>

namespace foundation {

// The proleptic Gregorian calendar. The ISO 8601 calendar differs from it only
// in how it numbers weeks, which nothing here does, so both identifiers count
// alike.
//
// The day arithmetic and day queries run on the clock of the user's zone as it
// is at the moment of the call. Dates must be finite and within about 25,000
// years of 2001; the queries throw std::out_of_range for any other.
class Calendar {
public:
    enum class Identifier : unsigned char { gregorian, iso8601 };
    enum class Component : unsigned char { minute, day };

    static constexpr Calendar current() noexcept { return Calendar(Identifier::gregorian); }
    constexpr explicit Calendar(Identifier identifier) noexcept : identifier_(identifier) {}

    [[nodiscard]] constexpr Identifier identifier() const noexcept { return identifier_; }

    // Minutes count elapsed time: 15 minutes later is 900 seconds later even
    // when the clocks jump meanwhile. Days count on the wall clock: a day after
    // 12:00 is 12:00 the next day, 23 or 25 hours later across a change to or
    // from summer time. No date for a date or a result out of range.
    [[nodiscard]] std::optional<Date> dateByAdding(Component component, std::int64_t value, Date date) const;

    // The first moment of the date's day: its midnight, or the end of the
    // clocks' jump where a zone skips midnight.
    [[nodiscard]] Date startOfDay(Date date) const;
    [[nodiscard]] bool isDateInToday(Date date) const;
    [[nodiscard]] bool isDateInSameDayAs(Date date, Date other) const;
    // Orders the minutes or days the two dates fall in: `less` when the
    // date's lies before the other's.
    [[nodiscard]] std::strong_ordering compare(Date date, Date other, Component granularity) const;

    // The date on the zone's clock, rounded to the millisecond, with the
    // zone's offset at that moment.
    [[nodiscard]] DateComponents dateComponents(const TimeZone& zone, Date date) const;
    // The moment the components stand for: read with their own offset when
    // they carry one, else on the zone's clock. None when a field lies outside
    // its calendar range (month 13, February 29 of a common year, 24:00).
    [[nodiscard]] std::optional<Date> date(const DateComponents& components, const TimeZone& zone) const;

    friend constexpr bool operator==(const Calendar&, const Calendar&) = default;

private:
    Identifier identifier_;
};

}  // namespace foundation
