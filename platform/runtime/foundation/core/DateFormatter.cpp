#include "platform/runtime/foundation/core/DateFormatter.hpp"

#include "platform/runtime/foundation/core/DateComponents.hpp"

#include <array>
#include <cstdlib>
#include <stdexcept>

namespace foundation {

namespace {

// Reads fixed-width fields left to right. The first mismatch fails the reader
// and every read after it, so a parse checks once, at the end.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // Exactly `digits` ASCII digits.
    int number(int digits) {
        int value = 0;
        for (int index = 0; index < digits; ++index) {
            const char next = peek();
            if (next < '0' || next > '9') {
                fail();
                return 0;
            }
            value = value * 10 + (next - '0');
            ++position_;
        }
        return value;
    }

    void expect(char literal) {
        if (!skip(literal)) {
            fail();
        }
    }

    bool skip(char literal) {
        if (peek() != literal) {
            return false;
        }
        ++position_;
        return true;
    }

    void fail() { failed_ = true; }

    [[nodiscard]] bool readWholeText() const { return !failed_ && position_ == text_.size(); }

private:
    [[nodiscard]] char peek() const { return !failed_ && position_ < text_.size() ? text_[position_] : '\0'; }

    std::string_view text_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

// "Z", or a sign, two-digit hours, ":" and two-digit minutes. Hours beyond
// what a zone can be are left to the calendar to refuse.
int readOffset(FieldReader& reader) {
    if (reader.skip('Z')) {
        return 0;
    }
    int sign = 1;
    if (reader.skip('-')) {
        sign = -1;
    } else {
        reader.expect('+');
    }
    const int hours = reader.number(2);
    reader.expect(':');
    const int minutes = reader.number(2);
    if (minutes > 59) {
        reader.fail();
    }
    return sign * (hours * 3600 + minutes * 60);
}

// `value` is known to have at most `digits` digits.
void appendNumber(std::string& text, int value, int digits) {
    std::array<char, 4> buffer{};
    for (int index = digits - 1; index >= 0; --index) {
        buffer[static_cast<std::size_t>(index)] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    text.append(buffer.data(), static_cast<std::size_t>(digits));
}

void appendOffset(std::string& text, int secondsFromGMT) {
    if (secondsFromGMT == 0) {
        text += 'Z';
        return;
    }
    text += secondsFromGMT < 0 ? '-' : '+';
    const int magnitude = std::abs(secondsFromGMT);
    appendNumber(text, magnitude / 3600, 2);
    text += ':';
    appendNumber(text, magnitude / 60 % 60, 2);
    // Only old local mean times are offset by odd seconds; the extended ISO
    // form writes them as a third field rather than rounding them away.
    if (magnitude % 60 != 0) {
        text += ':';
        appendNumber(text, magnitude % 60, 2);
    }
}

}  // namespace

std::string_view DateFormatter::formatOf(Form form) noexcept {
    switch (form) {
        case Form::none:
            return "";
        case Form::timestampWithMilliseconds:
            return "yyyy-MM-dd'T'HH:mm:ss.SSSXXXXX";
        case Form::timestamp:
            return "yyyy-MM-dd'T'HH:mm:ssXXXXX";
        case Form::day:
            return "yyyy-MM-dd";
    }
    return "";
}

Locale DateFormatter::locale() const {
    return locale_ ? *locale_ : Locale::current();
}

std::string_view DateFormatter::dateFormat() const noexcept {
    return formatOf(form_);
}

void DateFormatter::setDateFormat(std::string_view format) {
    for (const Form form : {Form::none, Form::timestampWithMilliseconds, Form::timestamp, Form::day}) {
        if (format == formatOf(form)) {
            form_ = form;
            return;
        }
    }
    throw std::invalid_argument("DateFormatter: unsupported date format \"" + std::string(format) + "\"");
}

std::optional<Date> DateFormatter::date(std::string_view text) const {
    if (form_ == Form::none) {
        return std::nullopt;
    }
    FieldReader reader(text);
    DateComponents components;
    components.year = reader.number(4);
    reader.expect('-');
    components.month = reader.number(2);
    reader.expect('-');
    components.day = reader.number(2);
    if (form_ != Form::day) {
        reader.expect('T');
        components.hour = reader.number(2);
        reader.expect(':');
        components.minute = reader.number(2);
        reader.expect(':');
        components.second = reader.number(2);
        if (form_ == Form::timestampWithMilliseconds) {
            reader.expect('.');
            components.millisecond = reader.number(3);
        }
        components.secondsFromGMT = readOffset(reader);
    }
    if (!reader.readWholeText()) {
        return std::nullopt;
    }
    return calendar_.date(components, timeZone_);
}

std::string DateFormatter::string(Date date) const {
    if (form_ == Form::none) {
        return {};
    }
    const DateComponents components = calendar_.dateComponents(timeZone_, date);
    if (components.year < 0 || components.year > 9999) {
        throw std::out_of_range("DateFormatter: the year " + std::to_string(components.year) +
                                " has no four-digit form");
    }
    std::string text;
    // The longest text: a timestamp with milliseconds and an offset with seconds.
    text.reserve(32);
    appendNumber(text, components.year, 4);
    text += '-';
    appendNumber(text, components.month, 2);
    text += '-';
    appendNumber(text, components.day, 2);
    if (form_ != Form::day) {
        text += 'T';
        appendNumber(text, components.hour, 2);
        text += ':';
        appendNumber(text, components.minute, 2);
        text += ':';
        appendNumber(text, components.second, 2);
        if (form_ == Form::timestampWithMilliseconds) {
            text += '.';
            appendNumber(text, components.millisecond, 3);
        }
        appendOffset(text, *components.secondsFromGMT);
    }
    return text;
}

}  // namespace foundation
