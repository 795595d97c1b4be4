#pragma once

#include "platform/kits/updater/UpdaterUserDriver.hpp"

namespace desktop {

// Tells the user in a GTK message dialog; for a newer release the dialog offers to open its page in
// the browser.
class DesktopUpdaterUserDriver final : public updater::UpdaterUserDriver {
public:
    void showUpToDate(const std::string& currentVersion) override;
    void showUpdateFound(const updater::AppcastItem& item, std::function<void(bool)> reply) override;
    void showUpdaterError(const std::string& message) override;
};

}  // namespace desktop
