#pragma once

#include <filesystem>

namespace bench {

// Points KESTROVA_APP_GROUP_DIR at a fresh temporary directory for the life
// of the object, so that the shared defaults the benchmarks write never touch
// the user's own; the directory goes with everything in it at the end.
class TemporaryAppGroup {
public:
    TemporaryAppGroup();
    ~TemporaryAppGroup();
    TemporaryAppGroup(const TemporaryAppGroup&) = delete;
    TemporaryAppGroup& operator=(const TemporaryAppGroup&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace bench
