#pragma once

#include <filesystem>

namespace ui {

// Where a program finds its own resources: the asset catalogue, images and texts that ship with it.
class Bundle {
public:
    // The directory of the running program's resources: $KESTROVA_RESOURCES_DIR when set, else the
    // one the program named with setMainResourceDirectory(), else the build's default.
    static std::filesystem::path mainResourceDirectory();
    // Called by main() of a deliverable before any view is drawn.
    static void setMainResourceDirectory(std::filesystem::path directory);
};

}  // namespace ui
