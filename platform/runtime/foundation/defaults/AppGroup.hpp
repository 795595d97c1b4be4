#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace foundation {

// The app group that the application and its two extensions belong to: its
// identifier, a deployment setting, and the directory the three share.
class AppGroup {
public:
    // Also the name of the shared defaults suite.
    static std::string_view identifier() noexcept;

    // $KESTROVA_APP_GROUP_DIR when set, else $XDG_CONFIG_HOME/<identifier>,
    // where XDG_CONFIG_HOME defaults to $HOME/.config (a relative
    // XDG_CONFIG_HOME is ignored, as the XDG base-directory rules ask). No
    // value when none of them is set. Only the environment is read; nothing is
    // created.
    static std::optional<std::filesystem::path> containerDirectory();
};

}  // namespace foundation
