#pragma once

#include <optional>
#include <string>

namespace standin {

// Calendar days as the service writes them, "yyyy-MM-dd", in the machine's
// time zone: the stand-in's day is the developer's day.
std::string today();
// The day before, or none for a text that is no valid day.
std::optional<std::string> dayBefore(const std::string& day);
// The day after a valid day.
std::string dayAfter(const std::string& day);
// Whether the text is a valid day.
bool isDay(const std::string& text);
// Now, in the server's date text: "2026-12-10T15:04:05.123Z".
std::string nowText();

}  // namespace standin
