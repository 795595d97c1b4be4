#pragma once

#include "platform/backends/headless/HeadlessEffects.hpp"
#include "platform/kits/updater/UpdaterUserDriver.hpp"

namespace headless {

// Records what the user would be told: "updater: up to date <version>", "updater: update found
// <display version> <page>" and "updater: error <message>", and answers a found update as the test
// set it (wanted by default).
class HeadlessUpdaterUserDriver final : public updater::UpdaterUserDriver {
public:
    explicit HeadlessUpdaterUserDriver(HeadlessEffects& effects) : effects_(effects) {}

    void showUpToDate(const std::string& currentVersion) override {
        effects_.record("updater: up to date " + currentVersion);
    }
    void showUpdateFound(const updater::AppcastItem& item, std::function<void(bool)> reply) override {
        effects_.record("updater: update found " + item.displayVersion + " " + item.infoURL().absoluteString());
        reply(wantsUpdate_);
    }
    void showUpdaterError(const std::string& message) override { effects_.record("updater: error " + message); }

    void setWantsUpdate(bool wants) noexcept { wantsUpdate_ = wants; }

private:
    HeadlessEffects& effects_;
    bool wantsUpdate_ = true;
};

}  // namespace headless
