#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// One open window of the application as it is kept across launches: an identity that stays with the
// window and the values its views keep under their keys.
struct StoredScene {
    std::string identity;
    std::map<std::string, std::string> values;

    friend bool operator==(const StoredScene&, const StoredScene&) = default;
};

// The application's open windows in a file of the user's state directory, so that a relaunch opens
// them again. Written whole and atomically: a crash while saving leaves the previous file.
class SceneStore {
public:
    explicit SceneStore(std::filesystem::path file) : file_(std::move(file)) {}

    // <$XDG_STATE_HOME, else ~/.local/state>/<application>/scenes.
    [[nodiscard]] static std::filesystem::path defaultFile(std::string_view application);

    // At most this many windows come back: the file is the user's to edit or damage, and a window
    // takes a web engine's page.
    static constexpr std::size_t mostScenes = 32;

    // The scenes in the order they were saved, at most mostScenes of them. A missing file restores
    // nothing; so does an unreadable one or one above 1 MiB, which says so on standard error. A
    // damaged file keeps the windows whose groups are whole; what is not restored is said once on
    // standard error.
    [[nodiscard]] std::vector<StoredScene> load() const;
    // Replaces the file; a failure is reported on standard error and the previous file stays.
    void save(const std::vector<StoredScene>& scenes) const;

private:
    std::filesystem::path file_;
};

}  // namespace ui
