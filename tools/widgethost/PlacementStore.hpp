#pragma once

#include "tools/widgethost/Placement.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

namespace widgethost {

// What the host keeps between runs, in a directory of the user's state: the placed widgets
// ("placements") and the count of reload requests it last acted on ("reload-count"). Both files are
// replaced atomically. A damaged or unreadable file is said on the error stream and read as absent,
// never as a reason to stop.
class PlacementStore {
public:
    PlacementStore(std::filesystem::path directory, std::ostream& errors)
        : directory_(std::move(directory)), errors_(errors) {}

    // <$XDG_STATE_HOME, else ~/.local/state>/kestrova/widgets.
    [[nodiscard]] static std::filesystem::path defaultDirectory();

    // None when nothing was ever stored or the file cannot be read.
    [[nodiscard]] std::optional<std::vector<Placement>> placements() const;
    // Throws std::system_error when the file cannot be replaced; the previous one stays then.
    void savePlacements(const std::vector<Placement>& placements) const;

    // 0 when nothing was stored.
    [[nodiscard]] std::uint64_t reloadCount() const;
    void saveReloadCount(std::uint64_t count) const;

    [[nodiscard]] const std::filesystem::path& directory() const noexcept { return directory_; }

private:
    void save(const char* name, std::string_view bytes) const;

    std::filesystem::path directory_;
    std::ostream& errors_;
};

}  // namespace widgethost
