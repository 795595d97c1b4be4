#include "fuzz/support/ProcessScratchDirectory.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace fuzzsupport {
namespace {

// In memory where the system offers it: the stores flush every file they
// write to the disk, which would slow the fuzzer down to a crawl.
std::filesystem::path parentFolder() {
    std::error_code ignored;
    const std::filesystem::path memory = "/dev/shm";
    return std::filesystem::is_directory(memory, ignored) ? memory : std::filesystem::temp_directory_path();
}

class Directory {
public:
    Directory() {
        std::string pattern = (parentFolder() / "kestrova-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("kestrova fuzzing: cannot make a temporary directory");
            std::abort();
        }
        path_ = pattern;
    }
    ~Directory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace

const std::filesystem::path& scratchDirectory() {
    static const Directory directory;
    return directory.path();
}

}  // namespace fuzzsupport
