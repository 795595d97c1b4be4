#pragma once

#include "platform/kits/ui/Binding.hpp"
#include "platform/kits/ui/Color.hpp"
#include "platform/kits/ui/View.hpp"
#include "kestrova/state/AppState.hpp"

namespace kestrova {

// What the status item shows: the application icon while nobody is signed in, else a ring of
// today's journaling with today's entry count in it, in the "Daily" colour or in black.
struct StatusBarIconView {
    // The side of the square icon, in points: the status bar's thickness.
    double size;
    ui::Binding<bool> statusBarIconMonochrome;
    AppState& appState;

    StatusBarIconView(double size, ui::Binding<bool> statusBarIconMonochrome);

    [[nodiscard]] ui::View body() const;

    // The share of the user's due journals that have today's entry, 0 to 1.
    [[nodiscard]] double progress() const;
};

// The colour asset "Daily", made once.
const ui::Color& dailyColor();

}  // namespace kestrova
