#include "kestrova/shell/ZoomCommands.hpp"

#include <algorithm>

namespace kestrova {

ui::CommandGroup ZoomCommands::body() const {
    const double zoom = pageZoom.get();
    return {ui::CommandGroupPosition::after,
            ui::CommandGroupPlacement::toolbar,
            {
                ui::CommandButton{.title = "Actual Size",
                                  .action = [binding = pageZoom] { binding.set(1.0); },
                                  .shortcut = ui::KeyboardShortcut{.key = "0", .shift = false},
                                  .disabled = zoom == 1.0},
                ui::CommandButton{.title = "Zoom In",
                                  .action = [binding = pageZoom, max = maxZoom] {
                                      binding.set(std::min(binding.get() + 0.1, max));
                                  },
                                  .shortcut = ui::KeyboardShortcut{.key = "+", .shift = false},
                                  .disabled = zoom >= maxZoom},
                ui::CommandButton{.title = "Zoom Out",
                                  .action = [binding = pageZoom, min = minZoom] {
                                      binding.set(std::max(binding.get() - 0.1, min));
                                  },
                                  .shortcut = ui::KeyboardShortcut{.key = "-", .shift = false},
                                  .disabled = zoom <= minZoom},
                ui::CommandDivider{},
            }};
}

}  // namespace kestrova
