#pragma once

#include "platform/kits/ui/Color.hpp"

#include <string_view>

namespace pellicor {

// A colour from hexadecimal text, as designers write it: "#8E8E97", "FF00FF80", "abc". Two digits
// are a grey level, four a grey level and opacity, six red, green and blue, eight the same with
// opacity; an odd count repeats its last digit, more than eight keep the first eight, and text
// that is no hexadecimal number reads as 0. Any other text gives opaque white. Never fails.
[[nodiscard]] ui::Color colorFromHex(std::string_view text);

// The named colours of the widgets' asset catalogue, shared by every widget view.
// Today's journals: the progress ring and a streak circle posted today.
[[nodiscard]] const ui::Color& dailyColor();
// The ring of a streak circle not yet posted today.
[[nodiscard]] const ui::Color& publishingColor();
// The clock badge of a scheduled journal.
[[nodiscard]] const ui::Color& timeColor();
// Secondary text on the Journal widget's dark card.
[[nodiscard]] const ui::Color& darkGrayColor();

}  // namespace pellicor
