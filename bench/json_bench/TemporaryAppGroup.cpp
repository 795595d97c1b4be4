#include "bench/json_bench/TemporaryAppGroup.hpp"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace bench {

TemporaryAppGroup::TemporaryAppGroup() {
    std::string pattern = (std::filesystem::temp_directory_path() / "json_bench.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    }
    path_ = pattern;
    if (setenv("KESTROVA_APP_GROUP_DIR", pattern.c_str(), 1) != 0) {
        throw std::system_error(errno, std::generic_category(), "setenv");
    }
}

TemporaryAppGroup::~TemporaryAppGroup() {
    unsetenv("KESTROVA_APP_GROUP_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace bench
