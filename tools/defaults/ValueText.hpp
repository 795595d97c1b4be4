#pragma once

#include "platform/runtime/foundation/defaults/DefaultsValue.hpp"

#include <ostream>
#include <string_view>

namespace defaults_tool {

// How the tool shows a value, on one line. Text as it is; data as its text
// when the bytes are valid UTF-8 (the cached user is JSON and reads best that
// way), else as hexadecimal digits between angle brackets; Booleans as 1 or 0;
// integers in decimal; doubles in the shortest form that reads back to the
// same number. Backslashes, line breaks, tabs and other control characters
// are escaped (\\, \n, \r, \t, \xNN), so that the value fits on one line.
class ValueText {
public:
    static void writeValue(std::ostream& stream, const foundation::DefaultsValue& value);
    // Text such as a key, escaped as a value's text is.
    static void writeText(std::ostream& stream, std::string_view text);
};

}  // namespace defaults_tool
