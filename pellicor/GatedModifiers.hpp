#pragma once

#include "platform/kits/ui/Color.hpp"
#include "platform/kits/ui/View.hpp"

#include <optional>

namespace pellicor {

// Modifiers the oldest supported systems lack, applied only where the running system has them and
// leaving the view as it is elsewhere. The system is asked each time one is applied.

// From macOS 12: the view's controls tinted with the colour.
[[nodiscard]] ui::View tintIfAvailable(const ui::View& view, std::optional<ui::Color> color);
// From macOS 13: the view's content marked for redaction.
[[nodiscard]] ui::View privacySensitiveIfAvailable(const ui::View& view);
// From macOS 13: the view drawn in a tinted widget's accent.
[[nodiscard]] ui::View widgetAccentableIfAvailable(const ui::View& view);

}  // namespace pellicor
