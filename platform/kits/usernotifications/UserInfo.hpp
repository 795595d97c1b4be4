#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>

namespace usernotifications {

// A value of a notification's payload: text, a whole number, a number or a truth value.
using UserInfoValue = std::variant<std::string, std::int64_t, double, bool>;
// A notification's payload, by key.
using UserInfo = std::map<std::string, UserInfoValue>;

}  // namespace usernotifications
