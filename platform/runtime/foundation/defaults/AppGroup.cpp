#include "platform/runtime/foundation/defaults/AppGroup.hpp"

#include <cstdlib>

namespace foundation {
namespace {

// An empty variable counts as unset, as a shell's `VAR= program` means it.
std::optional<std::filesystem::path> environmentPath(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::filesystem::path(value);
}

}  // namespace

std::string_view AppGroup::identifier() noexcept {
    return KESTROVA_APP_GROUP_ID;
}

std::optional<std::filesystem::path> AppGroup::containerDirectory() {
    if (auto directory = environmentPath("KESTROVA_APP_GROUP_DIR")) {
        return directory;
    }
    auto config = environmentPath("XDG_CONFIG_HOME");
    if (!config || config->is_relative()) {
        const auto home = environmentPath("HOME");
        if (!home) {
            return std::nullopt;
        }
        config = *home / ".config";
    }
    return *config / identifier();
}

}  // namespace foundation
