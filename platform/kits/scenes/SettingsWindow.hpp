#pragma once

#include "platform/kits/scenes/WindowGroup.hpp"
#include "platform/kits/scenes/WindowRealizer.hpp"

#include <memory>

namespace ui {

// Opens the Settings scene in one window: asked again while it is open, it brings that window
// forward instead of opening another.
class SettingsWindow {
public:
    SettingsWindow(SettingsScene scene, WindowRealizer& realizer) : scene_(std::move(scene)), realizer_(realizer) {}

    // The window, open and in front.
    std::shared_ptr<Window> open();

private:
    SettingsScene scene_;
    WindowRealizer& realizer_;
    std::shared_ptr<Window> window_;
};

}  // namespace ui
