#pragma once

#include "platform/runtime/base/WeakSelf.hpp"
#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/combine/Published.hpp"
#include "platform/runtime/concurrency/DelayedJob.hpp"
#include "platform/kits/updater/UpdaterConfiguration.hpp"
#include "platform/kits/updater/UpdaterUserDriver.hpp"

#include <memory>

namespace updater {

// Checks the update feed: once when started and then at the configured interval in the background,
// and whenever the user asks. Only one check runs at a time; `canCheckForUpdates` is false while one
// runs and whenever there is no feed. A background check speaks only when it finds a newer release;
// a check the user asked for always answers. Used on the main thread; checks run as main-actor tasks.
class Updater final : public combine::ObservableObject {
public:
    // `driver` is not owned and must outlive the updater.
    Updater(UpdaterConfiguration configuration, UpdaterUserDriver& driver);
    ~Updater();
    Updater(const Updater&) = delete;
    Updater& operator=(const Updater&) = delete;

    // Whether a check the user asks for may begin now.
    combine::Published<bool> canCheckForUpdates;

    // Starts checking; does nothing without a feed or when already started.
    void startUpdater();
    // A check the user asked for; does nothing while one may not begin.
    void checkForUpdates();
    [[nodiscard]] bool sessionInProgress() const noexcept { return checking_; }

private:
    void check(bool userInitiated);
    void scheduleNextCheck();

    UpdaterConfiguration configuration_;
    UpdaterUserDriver& driver_;
    bool started_ = false;
    bool checking_ = false;
    concurrency::DelayedJob nextCheck_;
    // Checks in flight hold it weakly: one that finishes after the updater is gone does nothing.
    base::WeakSelf<Updater> self_{this};
};

}  // namespace updater
