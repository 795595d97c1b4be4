#include "platform/runtime/foundation/core/FileManager.hpp"

#include "platform/runtime/foundation/core/FileManagerError.hpp"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <glib.h>

namespace foundation {

FileManager& FileManager::defaultManager() {
    static FileManager manager;
    return manager;
}

bool FileManager::fileExists(const std::string& path, bool* isDirectory) const {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return false;
    }
    if (isDirectory != nullptr) {
        *isDirectory = S_ISDIR(status.st_mode);
    }
    return true;
}

FileAttributes FileManager::attributesOfItem(const std::string& path) const {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        const int error = errno;
        throw FileManagerError(error, "cannot read the attributes of \"" + path + "\"");
    }
    FileAttributes attributes;
    if (S_ISREG(status.st_mode)) {
        attributes.size = static_cast<std::int64_t>(status.st_size);
    }
    return attributes;
}

bool FileManager::checkPromisedItemIsReachable(const URL& url) const {
    return url.isFileURL() && fileExists(url.path());
}

void FileManager::removeItem(const URL& url) const {
    if (!url.isFileURL()) {
        throw FileManagerError(EINVAL,
                               "cannot remove \"" + url.absoluteString() + "\", which is no file URL");
    }
    const std::string path = url.path();
    std::error_code error;
    const auto removed = std::filesystem::remove_all(path, error);
    if (!error && removed == 0) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
    }
    if (error) {
        throw FileManagerError(error.value(), "cannot remove \"" + path + "\"");
    }
}

URL FileManager::temporaryDirectory() const {
    const char* directory = std::getenv("TMPDIR");
    if (directory == nullptr || *directory == '\0') {
        directory = "/tmp";
    }
    return URL::fileURL(directory, true);
}

URL FileManager::downloadsDirectory() const {
    std::vector<std::string> candidates;
    if (const char* named = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD); named != nullptr && *named != '\0') {
        candidates.emplace_back(named);
    }
    // HOME as it is now: GLib keeps the value it saw first.
    const char* home = std::getenv("HOME");
    const std::string homeDirectory = home != nullptr && *home != '\0' ? home : g_get_home_dir();
    candidates.push_back(homeDirectory + "/Downloads");
    candidates.push_back(homeDirectory);
    for (const auto& candidate : candidates) {
        bool isDirectory = false;
        if (fileExists(candidate, &isDirectory) && isDirectory) {
            return URL::fileURL(candidate, true);
        }
    }
    throw FileManagerError(ENOENT, "neither the desktop's downloads folder nor ~/Downloads nor the home folder \"" +
                                       homeDirectory + "\" is a folder");
}

}  // namespace foundation
