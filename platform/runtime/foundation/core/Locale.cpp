#include "platform/runtime/foundation/core/Locale.hpp"

#include <cstdlib>
#include <string_view>

namespace foundation {

namespace {

std::string_view environmentLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

}  // namespace

Locale Locale::current() {
    std::string_view name = environmentLocaleName();
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") {
        return Locale("en_US_POSIX");
    }
    return Locale(std::string(name));
}

}  // namespace foundation
