#pragma once

#include "platform/runtime/foundation/core/FileAttributes.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <string>

namespace foundation {

// Questions about files and the few changes to them that the system makes.
// Paths are filesystem paths; symbolic links are followed except where said.
class FileManager {
public:
    static FileManager& defaultManager();

    FileManager(const FileManager&) = delete;
    FileManager& operator=(const FileManager&) = delete;

    // False when nothing can be reached at the path (a dangling link, a
    // directory on the way that may not be searched); otherwise true, and
    // *isDirectory, when given, tells whether the item is a directory.
    [[nodiscard]] bool fileExists(const std::string& path, bool* isDirectory = nullptr) const;
    // Throws FileManagerError when the item cannot be examined.
    [[nodiscard]] FileAttributes attributesOfItem(const std::string& path) const;
    // Whether a file URL names an item that can be reached now; false for any
    // other URL. Nothing here is ever promised and downloaded later, so this
    // is the plain existence check.
    [[nodiscard]] bool checkPromisedItemIsReachable(const URL& url) const;
    // Removes the item, and everything inside a directory; a link itself, not
    // what it points to. Throws FileManagerError, also when nothing is there.
    void removeItem(const URL& url) const;
    // $TMPDIR when set and not empty, else /tmp, as a directory URL.
    [[nodiscard]] URL temporaryDirectory() const;
    // The user's downloads folder, as a directory URL: the first of the desktop's downloads folder
    // (XDG_DOWNLOAD_DIR), ~/Downloads and the home folder that is a folder now, so that a panel opened
    // there never falls back to the working directory; nothing is created. Throws FileManagerError
    // when none of them is.
    [[nodiscard]] URL downloadsDirectory() const;

private:
    FileManager() = default;
};

}  // namespace foundation
