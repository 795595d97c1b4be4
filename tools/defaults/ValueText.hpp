#pragma once

#include "platform/runtime/foundation/defaults/DefaultsValue.hpp"

#include <string>
#include <string_view>

namespace defaults_tool {

// How the tool shows a value. Text as it is; data as its text when the bytes
// are valid UTF-8 (the cached user is JSON and reads best that way), else as
// hexadecimal digits between angle brackets; Booleans as 1 or 0; integers in
// decimal; doubles in the shortest form that reads back to the same number.
class ValueText {
public:
    static std::string plain(const foundation::DefaultsValue& value);
    // The plain form with backslashes, line breaks, tabs and other control
    // characters escaped (\\, \n, \r, \t, \xNN), so that it fits on one line.
    static std::string oneLine(std::string_view text);
};

}  // namespace defaults_tool
