#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testsupport {

// A fresh directory in the system's temporary directory for the files one
// test reads and writes, removed with everything in it at the end.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }
    // The path of a name inside the directory.
    [[nodiscard]] std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
    // Writes the bytes to a file of that name and gives its path.
    std::filesystem::path write(std::string_view name, std::string_view contents) const;

    static std::string read(const std::filesystem::path& file);

private:
    std::filesystem::path path_;
};

}  // namespace testsupport
