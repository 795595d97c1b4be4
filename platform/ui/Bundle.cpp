#include "platform/ui/Bundle.hpp"

#include <cstdlib>
#include <mutex>

namespace ui {

namespace {

std::mutex lock;
std::filesystem::path& chosen() {
    static std::filesystem::path directory;
    return directory;
}

}  // namespace

std::filesystem::path Bundle::mainResourceDirectory() {
    if (const char* value = std::getenv("KESTROVA_RESOURCES_DIR"); value != nullptr && *value != '\0') {
        return value;
    }
    const std::scoped_lock guard(lock);
    if (!chosen().empty()) {
        return chosen();
    }
    return KESTROVA_DEFAULT_RESOURCES_DIR;
}

void Bundle::setMainResourceDirectory(std::filesystem::path directory) {
    const std::scoped_lock guard(lock);
    chosen() = std::move(directory);
}

}  // namespace ui
