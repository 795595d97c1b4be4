#pragma once

#include "tests/support/ScopedEnvironment.hpp"

#include <filesystem>

namespace testsupport {

// Points KESTROVA_APP_GROUP_DIR at a fresh directory for as long as it lives,
// so that each test starts with no suites at all, and puts the previous value
// back afterwards. The directory is made inside the previous one (the test
// process's own, from the test main) and removed at the end.
class ScopedAppGroupDirectory {
public:
    ScopedAppGroupDirectory();
    ~ScopedAppGroupDirectory();
    ScopedAppGroupDirectory(const ScopedAppGroupDirectory&) = delete;
    ScopedAppGroupDirectory& operator=(const ScopedAppGroupDirectory&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }

private:
    std::filesystem::path path_;
    ScopedEnvironment environment_;
};

}  // namespace testsupport
