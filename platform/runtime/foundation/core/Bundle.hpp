#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace foundation {

// The application's shipped resources (sounds, images). An installed program finds them in
// share/<data directory> beside the bin/ folder it was started from, wherever the prefix is; a
// program run from the build tree finds the copies the build puts in <build>/share/<data directory>.
class Bundle {
public:
    // The resources of the running program.
    static const Bundle& main();

    // The resources of a program at `executable`: its installed place first, then the build tree's.
    static Bundle forExecutable(const std::filesystem::path& executable);

    // Looks in these folders, in this order.
    explicit Bundle(std::vector<std::filesystem::path> resourceDirectories);

    // The file URL of "<name>.<extension>" in the first folder that has it; no value when none does.
    [[nodiscard]] std::optional<URL> urlForResource(std::string_view name, std::string_view extension) const;

    [[nodiscard]] const std::vector<std::filesystem::path>& resourceDirectories() const noexcept {
        return directories_;
    }

private:
    std::vector<std::filesystem::path> directories_;
};

}  // namespace foundation
