#pragma once

#include <string>

namespace desktop {

// Who the application is on the desktop: its D-Bus name, which also names its .desktop file, and the
// scheme of the links it handles itself.
struct ApplicationIdentity {
    std::string id = "kestrova";
    std::string linkScheme;

    [[nodiscard]] std::string desktopFileId() const { return id + ".desktop"; }
};

}  // namespace desktop
