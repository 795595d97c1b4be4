#pragma once

#include <string>

namespace desktop {

// Gives every window of the program, the About window's logo among them, the application's icon: the
// image "AppIcon" of the asset catalogue, which the loading screen shows too, so that a program run
// from the build tree, where nothing is installed, has it as well. Where the catalogue has none, the
// icon that the installation puts in the desktop's icon theme under `themeName`.
void installApplicationIcon(const std::string& themeName);

}  // namespace desktop
