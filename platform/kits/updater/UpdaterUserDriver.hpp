#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/kits/updater/AppcastItem.hpp"

#include <functional>
#include <string>
#include <string_view>

namespace updater {

// How the installed backend tells the user what a check found. Called on the main thread.
class UpdaterUserDriver : public base::Installable<UpdaterUserDriver> {
public:
    static constexpr std::string_view serviceName = "updater::UpdaterUserDriver";

    virtual ~UpdaterUserDriver() = default;

    // A check the user asked for found nothing newer than `currentVersion`.
    virtual void showUpToDate(const std::string& currentVersion) = 0;
    // A newer release; `reply(true)` when the user wants it (its page then opens in the browser).
    virtual void showUpdateFound(const AppcastItem& item, std::function<void(bool wantsUpdate)> reply) = 0;
    // A check the user asked for failed.
    virtual void showUpdaterError(const std::string& message) = 0;

protected:
    UpdaterUserDriver() = default;
};

}  // namespace updater
