#pragma once

namespace kestrova {

// Opens another main window as a tab of the key window, through the key window's controller. Does
// nothing without a key window or a controller, and adds no tab when the key window stayed the same.
void openNewTab();

}  // namespace kestrova
