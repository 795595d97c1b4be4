#include "platform/kits/scenes/SceneStore.hpp"

#include <glib.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>

namespace ui {
namespace {

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileDeleter>;

struct ErrorDeleter {
    void operator()(GError* error) const { g_error_free(error); }
};

struct StringsDeleter {
    void operator()(gchar** strings) const { g_strfreev(strings); }
};
using Strings = std::unique_ptr<gchar*, StringsDeleter>;

struct TextDeleter {
    void operator()(gchar* text) const { g_free(text); }
};
using Text = std::unique_ptr<gchar, TextDeleter>;

constexpr const char* openKey = "open";
const std::string valuePrefix = "value.";

// A few windows take a few hundred bytes each: a file far larger is no file of open windows, and
// reading it whole would hold up the start.
constexpr std::uintmax_t largestFile = 1024 * 1024;

// The groups of a key file, each parsed on its own: a damaged group takes only itself away.
std::vector<KeyFile> parsedGroups(const std::string& text, std::size_t& damaged) {
    std::vector<std::string> chunks;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string_view line(text.data() + start, end - start);
        if (line.starts_with('[')) {
            chunks.emplace_back();
        }
        // What comes before the first group is comments and blank lines, which belong to none.
        if (!chunks.empty()) {
            chunks.back().append(line);
        }
        start = end;
    }
    std::vector<KeyFile> groups;
    for (const auto& chunk : chunks) {
        KeyFile group(g_key_file_new());
        if (g_key_file_load_from_data(group.get(), chunk.data(), chunk.size(), G_KEY_FILE_NONE, nullptr) != FALSE) {
            groups.push_back(std::move(group));
        } else {
            ++damaged;
        }
    }
    return groups;
}

void collect(GKeyFile* keys, std::vector<StoredScene>& scenes) {
    const Strings groups(g_key_file_get_groups(keys, nullptr));
    for (gchar** group = groups.get(); *group != nullptr; ++group) {
        StoredScene scene{*group, {}};
        const Strings names(g_key_file_get_keys(keys, *group, nullptr, nullptr));
        for (gchar** name = names.get(); name && *name != nullptr; ++name) {
            const std::string_view key(*name);
            if (!key.starts_with(valuePrefix)) {
                continue;
            }
            if (const Text value{g_key_file_get_string(keys, *group, *name, nullptr)}) {
                scene.values.emplace(key.substr(valuePrefix.size()), value.get());
            }
        }
        scenes.push_back(std::move(scene));
    }
}

}  // namespace

std::filesystem::path SceneStore::defaultFile(std::string_view application) {
    std::filesystem::path state;
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg != nullptr && *xdg == '/') {
        state = xdg;
    } else {
        state = std::filesystem::path(g_get_home_dir()) / ".local" / "state";
    }
    return state / application / "scenes";
}

std::vector<StoredScene> SceneStore::load() const {
    std::error_code missing;
    const auto size = std::filesystem::file_size(file_, missing);
    if (missing) {
        // No file is the first launch, or the last one closed every window: nothing to say.
        if (missing != std::errc::no_such_file_or_directory) {
            std::cerr << file_.string() << ": no windows restored: " << missing.message() << '\n';
        }
        return {};
    }
    if (size > largestFile) {
        std::cerr << file_.string() << ": no windows restored: the file is larger than " << largestFile / 1024
                  << " KiB\n";
        return {};
    }
    gchar* contents = nullptr;
    gsize length = 0;
    GError* raw = nullptr;
    if (g_file_get_contents(file_.c_str(), &contents, &length, &raw) == FALSE) {
        const std::unique_ptr<GError, ErrorDeleter> error(raw);
        std::cerr << file_.string() << ": no windows restored: " << error->message << '\n';
        return {};
    }
    const Text owned(contents);
    const std::string text(contents, length);

    std::vector<StoredScene> scenes;
    KeyFile keys(g_key_file_new());
    std::size_t damaged = 0;
    if (g_key_file_load_from_data(keys.get(), text.data(), text.size(), G_KEY_FILE_NONE, nullptr) != FALSE) {
        collect(keys.get(), scenes);
    } else {
        // A damaged file keeps what it holds intact, so that those windows come back and are kept.
        for (const auto& group : parsedGroups(text, damaged)) {
            collect(group.get(), scenes);
        }
    }
    const std::size_t dropped = scenes.size() > mostScenes ? scenes.size() - mostScenes : 0;
    scenes.resize(std::min(scenes.size(), mostScenes));
    if (damaged > 0 || dropped > 0) {
        std::cerr << file_.string() << ": ";
        if (damaged > 0) {
            std::cerr << damaged << " damaged window" << (damaged == 1 ? "" : "s") << " not restored";
        }
        if (dropped > 0) {
            std::cerr << (damaged > 0 ? "; " : "") << dropped << " window" << (dropped == 1 ? "" : "s")
                      << " beyond the first " << mostScenes << " not restored";
        }
        std::cerr << '\n';
    }
    return scenes;
}

void SceneStore::save(const std::vector<StoredScene>& scenes) const {
    KeyFile keys(g_key_file_new());
    for (const StoredScene& scene : scenes) {
        // Every window has its group, even one that keeps no value.
        g_key_file_set_boolean(keys.get(), scene.identity.c_str(), openKey, TRUE);
        for (const auto& [name, value] : scene.values) {
            g_key_file_set_string(keys.get(), scene.identity.c_str(), (valuePrefix + name).c_str(), value.c_str());
        }
    }
    gsize length = 0;
    const Text data(g_key_file_to_data(keys.get(), &length, nullptr));
    std::error_code ignored;
    std::filesystem::create_directories(file_.parent_path(), ignored);
    GError* raw = nullptr;
    // Writes a temporary file beside it and renames it over the old one.
    if (g_file_set_contents(file_.c_str(), data.get(), static_cast<gssize>(length), &raw) == FALSE) {
        const std::unique_ptr<GError, ErrorDeleter> error(raw);
        std::cerr << file_.string() << ": the open windows were not saved: " << error->message << '\n';
    }
}

}  // namespace ui
