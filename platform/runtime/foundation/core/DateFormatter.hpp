#pragma once

#include "platform/runtime/foundation/core/Calendar.hpp"
#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/core/Locale.hpp"
#include "platform/runtime/foundation/core/TimeZone.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// Turns dates into text and back in the few fixed forms the system uses:
//
//   "yyyy-MM-dd'T'HH:mm:ss.SSSXXXXX"  2023-04-05T06:07:08.123+02:00, or ...Z at GMT
//   "yyyy-MM-dd'T'HH:mm:ssXXXXX"      2023-04-05T06:07:08+02:00
//   "yyyy-MM-dd"                      2023-04-05, a day on the clock of the formatter's zone
//
// Text is read strictly: every field has exactly its digits and its calendar
// range, the offset is "Z" or a sign with "HH:MM", and nothing may follow.
// The offset in the text, not the formatter's zone, places a timestamp; a day
// is read as its first moment in the formatter's zone.
//
// Callers make a formatter per value, so making and configuring one allocates
// nothing and looks nothing up.
class DateFormatter {
public:
    // The current calendar, locale and time zone, and no format: until one is
    // set, no text reads as a date and every date writes as empty text.
    DateFormatter() = default;

    [[nodiscard]] const Calendar& calendar() const noexcept { return calendar_; }
    void setCalendar(Calendar calendar) noexcept { calendar_ = calendar; }

    // The current locale until one is set.
    [[nodiscard]] Locale locale() const;
    void setLocale(Locale locale) { locale_ = std::move(locale); }

    [[nodiscard]] const TimeZone& timeZone() const noexcept { return timeZone_; }
    void setTimeZone(TimeZone timeZone) noexcept { timeZone_ = timeZone; }

    [[nodiscard]] std::string_view dateFormat() const noexcept;
    // Any format but the three above (or the empty one) is a mistake in the
    // calling code: std::invalid_argument, and the formatter keeps its format.
    void setDateFormat(std::string_view format);

    [[nodiscard]] std::optional<Date> date(std::string_view text) const;
    // Throws std::out_of_range for a date whose year in the formatter's zone
    // has no four-digit form (before 0000 or after 9999).
    [[nodiscard]] std::string string(Date date) const;

private:
    enum class Form : unsigned char { none, timestampWithMilliseconds, timestamp, day };
    static std::string_view formatOf(Form form) noexcept;

    Calendar calendar_ = Calendar::current();
    std::optional<Locale> locale_;
    TimeZone timeZone_ = TimeZone::current();
    Form form_ = Form::none;
};

}  // namespace foundation
