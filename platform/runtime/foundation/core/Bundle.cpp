#include "platform/runtime/foundation/core/Bundle.hpp"

#include <string>
#include <system_error>

namespace foundation {

Bundle::Bundle(std::vector<std::filesystem::path> resourceDirectories)
    : directories_(std::move(resourceDirectories)) {}

Bundle Bundle::forExecutable(const std::filesystem::path& executable) {
    const std::filesystem::path data = KESTROVA_DATA_DIRECTORY;
    return Bundle({
        executable.parent_path().parent_path() / "share" / data,
        std::filesystem::path(KESTROVA_BUILD_TREE) / "share" / data,
    });
}

const Bundle& Bundle::main() {
    static const Bundle* const bundle = [] {
        std::error_code error;
        const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
        return new Bundle(forExecutable(error ? std::filesystem::path() : executable));
    }();
    return *bundle;
}

std::optional<URL> Bundle::urlForResource(std::string_view name, std::string_view extension) const {
    // A name that reaches out of the folder is no resource of it.
    if (name.empty() || name.find('/') != std::string_view::npos || name == "." || name == "..") {
        return std::nullopt;
    }
    std::string file(name);
    if (!extension.empty()) {
        file += '.';
        file += extension;
    }
    for (const auto& directory : directories_) {
        if (directory.empty()) {
            continue;
        }
        const std::filesystem::path candidate = directory / file;
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return URL::fileURL(candidate.string());
        }
    }
    return std::nullopt;
}

}  // namespace foundation
