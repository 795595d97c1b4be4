#pragma once

#include <cstdint>
#include <optional>

namespace kestrova {

// The raw-value conversion that every response-code enumeration of the
// schema shares: 0 to 6 name the cases of the same number; anything else is
// no code. The comparison is made on the value taken as unsigned, so -1
// counts as too large.
template <typename Code>
std::optional<Code> responseCodeFromRawValue(std::int64_t rawValue) {
    if (static_cast<std::uint64_t>(rawValue) > 6) {
        return std::nullopt;
    }
    return static_cast<Code>(rawValue);
}

template <typename Code>
std::int64_t rawValue(Code code) {
    return static_cast<std::int64_t>(code);
}

}  // namespace kestrova
