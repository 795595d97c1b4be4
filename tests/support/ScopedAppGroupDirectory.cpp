#include "tests/support/ScopedAppGroupDirectory.hpp"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace testsupport {

ScopedAppGroupDirectory::ScopedAppGroupDirectory() {
    const char* current = std::getenv("KESTROVA_APP_GROUP_DIR");
    const std::filesystem::path parent =
        current != nullptr ? std::filesystem::path(current) : std::filesystem::temp_directory_path();
    std::string pattern = (parent / "group-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    }
    path_ = pattern;
    environment_.set("KESTROVA_APP_GROUP_DIR", path_.string());
}

ScopedAppGroupDirectory::~ScopedAppGroupDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace testsupport
