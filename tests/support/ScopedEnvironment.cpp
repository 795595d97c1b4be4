#include "tests/support/ScopedEnvironment.hpp"

#include <cstdlib>
#include <ctime>

namespace testsupport {

ScopedEnvironment::~ScopedEnvironment() {
    // Restored in reverse, so a variable set twice ends with its first value.
    for (auto entry = saved_.rbegin(); entry != saved_.rend(); ++entry) {
        if (entry->second) {
            ::setenv(entry->first.c_str(), entry->second->c_str(), 1);
        } else {
            ::unsetenv(entry->first.c_str());
        }
    }
    tzset();
}

void ScopedEnvironment::set(const std::string& name, const std::optional<std::string>& value) {
    const char* current = std::getenv(name.c_str());
    saved_.emplace_back(name, current == nullptr ? std::nullopt : std::optional<std::string>(current));
    if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
    tzset();
}

}  // namespace testsupport
