#pragma once

#include "platform/runtime/foundation/core/Data.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace foundation {

// One value of a defaults suite. The alternatives are distinct kinds that a
// suite keeps apart: a text is never data and a Boolean is no integer, even
// where the typed readers of UserDefaults convert one into the other. A
// literal becomes the kind it looks like: "abc" a text, 7 an integer, 0.5 a
// double, true a Boolean (the variant refuses the narrowing conversions).
using DefaultsValue = std::variant<std::string, Data, bool, std::int64_t, double>;

// The kinds' names, in the order of the alternatives: what the database
// stores beside each value and what the defaults tool shows.
inline constexpr std::array<std::string_view, 5> defaultsKindNames = {"string", "data", "bool", "integer",
                                                                      "double"};
static_assert(defaultsKindNames.size() == std::variant_size_v<DefaultsValue>);

inline std::string_view kindName(const DefaultsValue& value) {
    return defaultsKindNames[value.index()];
}

}  // namespace foundation
