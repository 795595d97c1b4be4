#pragma once

#include "platform/runtime/foundation/core/Data.hpp"

#include <memory>

namespace intents {
class UserActivity;
}

namespace appkit {

class Menu;

// What the application tells its delegate. Called on the main thread. Every method but the token
// one has the answer of an application without a delegate.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;

    // The main loop runs and the first windows are open.
    virtual void applicationDidFinishLaunching() {}
    // One of the application's windows is about to take the focus from another application.
    virtual void applicationWillBecomeActive() {}
    // None of the application's windows has the focus any more.
    virtual void applicationDidResignActive() {}
    // Asked when the last window closed: true ends the application.
    [[nodiscard]] virtual bool applicationShouldTerminateAfterLastWindowClosed() { return false; }
    // The menu that the launcher offers; null for none.
    [[nodiscard]] virtual std::shared_ptr<Menu> applicationDockMenu() { return nullptr; }
    // Work handed over from elsewhere (a web page, an intent); true when it was taken.
    virtual bool continueUserActivity(const intents::UserActivity& /*activity*/) { return false; }

    // The platform's push provider registered the application; `deviceToken` addresses it.
    virtual void didRegisterForRemoteNotifications(const foundation::Data& deviceToken) = 0;

protected:
    ApplicationDelegate() = default;
};

}  // namespace appkit
