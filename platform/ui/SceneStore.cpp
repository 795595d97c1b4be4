#include "platform/ui/SceneStore.hpp"

#include <glib.h>

#include <cstdlib>
#include <iostream>
#include <memory>

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
    KeyFile keys(g_key_file_new());
    GError* raw = nullptr;
    if (g_key_file_load_from_file(keys.get(), file_.c_str(), G_KEY_FILE_NONE, &raw) == FALSE) {
        const std::unique_ptr<GError, ErrorDeleter> error(raw);
        // No file is the first launch, or the last one closed every window: nothing to say.
        if (!g_error_matches(error.get(), G_FILE_ERROR, G_FILE_ERROR_NOENT)) {
            std::cerr << file_.string() << ": no windows restored: " << error->message << '\n';
        }
        return {};
    }
    std::vector<StoredScene> scenes;
    const Strings groups(g_key_file_get_groups(keys.get(), nullptr));
    for (gchar** group = groups.get(); *group != nullptr; ++group) {
        StoredScene scene{*group, {}};
        const Strings names(g_key_file_get_keys(keys.get(), *group, nullptr, nullptr));
        for (gchar** name = names.get(); name && *name != nullptr; ++name) {
            const std::string_view key(*name);
            if (!key.starts_with(valuePrefix)) {
                continue;
            }
            if (const Text value{g_key_file_get_string(keys.get(), *group, *name, nullptr)}) {
                scene.values.emplace(key.substr(valuePrefix.size()), value.get());
            }
        }
        scenes.push_back(std::move(scene));
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
