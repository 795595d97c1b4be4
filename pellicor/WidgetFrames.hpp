#pragma once

#include "platform/kits/ui/Alignment.hpp"
#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/ui/View.hpp"

namespace pellicor {

// A frame as large as the widget lets it be, with its content placed by the alignment.
[[nodiscard]] inline ui::View::FlexibleFrame fillingFrame(ui::Alignment alignment) {
    return ui::View::FlexibleFrame{std::nullopt, std::nullopt, ui::infinity, std::nullopt, std::nullopt, ui::infinity, alignment};
}

}  // namespace pellicor
