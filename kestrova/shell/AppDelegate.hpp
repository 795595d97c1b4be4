#pragma once

#include "platform/kits/appkit/ApplicationDelegate.hpp"
#include "platform/kits/appkit/Menu.hpp"
#include "platform/runtime/concurrency/Task.hpp"
#include "platform/kits/usernotifications/UserNotificationCenterDelegate.hpp"
#include "kestrova/statusbar/StatusBarController.hpp"

#include <memory>
#include <string>

namespace kestrova {

// The application's delegate: the launch (user refresh, Dock menu, notification permission and push
// registration, tray controller), the push device token, notifications while the application is in
// front and their clicks, activation and deactivation (user refresh, window restore, login-token copy
// from the web views' cookies), the Dock menu of due and daily journals, and work handed over from a
// web page or an intent. There is one for the life of the process; everything runs on the main thread.
class AppDelegate final : public appkit::ApplicationDelegate, public usernotifications::UserNotificationCenterDelegate {
public:
    AppDelegate();
    // Stops being the notification centre's delegate.
    ~AppDelegate() override;
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // The Dock menu "Journals": made once, its items replaced by every rebuild.
    std::shared_ptr<appkit::Menu> menu;
    // Made when launching has finished.
    std::unique_ptr<StatusBarController> statusBarController;

    void applicationDidFinishLaunching() override;
    void didRegisterForRemoteNotifications(const foundation::Data& deviceToken) override;
    void applicationWillBecomeActive() override;
    void applicationDidResignActive() override;
    [[nodiscard]] bool applicationShouldTerminateAfterLastWindowClosed() override { return true; }
    [[nodiscard]] std::shared_ptr<appkit::Menu> applicationDockMenu() override { return menu; }
    // Always true: the activity is taken even when it leads nowhere.
    bool continueUserActivity(const intents::UserActivity& activity) override;

    void willPresent(const usernotifications::Notification& notification,
                     std::function<void(usernotifications::PresentationOptions)> completionHandler) override;
    void didReceive(const usernotifications::NotificationResponse& response,
                    std::function<void()> completionHandler) override;

    // Lists the cached user's due and daily journals; an unreadable or absent user, or one without
    // journals, leaves the menu as it was.
    void updateDockMenu();
    // The action of a Dock item: opens the publish page of the journal the item's tag names, as the
    // cached user has it now.
    void openJournalFromDock(const appkit::MenuItem* sender);

    // The device token as the server takes it: two lower-case hexadecimal digits per byte.
    [[nodiscard]] static std::string deviceTokenText(const foundation::Data& deviceToken);

private:
    concurrency::Task<void> launch();
};

}  // namespace kestrova
