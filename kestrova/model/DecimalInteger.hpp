#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrova {

// Journal ids travel as text in links and intents: a decimal integer as the whole text, with an
// optional sign; none for anything else (an empty text, a blank, "+-1", "x12", an overflow).
std::optional<std::int64_t> decimalInteger(std::string_view text);

}  // namespace kestrova
