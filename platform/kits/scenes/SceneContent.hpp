#pragma once

#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/kits/ui/View.hpp"

#include <map>
#include <string>

namespace ui {

// What one window of a window group shows and keeps: its own state, made for the window and
// living as long as it.
class SceneContent {
public:
    virtual ~SceneContent() = default;
    SceneContent(const SceneContent&) = delete;
    SceneContent& operator=(const SceneContent&) = delete;

    // The window's views, evaluated again whenever what they observe changes.
    [[nodiscard]] virtual View body() = 0;
    // A URL that the application was opened with, handed to the key window or to a new window; whether
    // the window shows something of it (a new window that would not is not opened).
    virtual bool openURL(const foundation::URL& /*url*/) { return false; }
    // The values kept with the window under their keys, handed back to the window group's content
    // function when the window is made again at the next launch.
    [[nodiscard]] virtual std::map<std::string, std::string> sceneStorage() const { return {}; }

protected:
    SceneContent() = default;
};

}  // namespace ui
