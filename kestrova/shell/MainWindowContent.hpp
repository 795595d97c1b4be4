#pragma once

#include "platform/kits/scenes/SceneContent.hpp"
#include "kestrova/web/WebWrapper.hpp"

#include <map>
#include <string>

namespace kestrova {

// What each main window and tab shows: its own WebWrapper, made from the shared state, true and
// "Kestrova". The window's page is kept with the window under "url", and a page of the service kept
// from the last launch wins over the start URL.
class MainWindowContent final : public ui::SceneContent {
public:
    explicit MainWindowContent(const std::map<std::string, std::string>& restored);

    [[nodiscard]] ui::View body() override;
    // Links the application is opened with go to the window's link rules.
    bool openURL(const foundation::URL& url) override;
    [[nodiscard]] std::map<std::string, std::string> sceneStorage() const override;

    WebWrapper wrapper;
};

}  // namespace kestrova
