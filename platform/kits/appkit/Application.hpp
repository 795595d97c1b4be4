#pragma once

#include "platform/kits/appkit/ApplicationDelegate.hpp"
#include "platform/kits/appkit/Event.hpp"
#include "platform/kits/appkit/Menu.hpp"
#include "platform/kits/appkit/Window.hpp"
#include "platform/kits/scenes/App.hpp"

#include <optional>

#include <memory>
#include <vector>

namespace appkit {

// The running application. Used on the main thread.
class Application {
public:
    static Application& shared();

    // The open windows, front to back: a copy, so closing them one by one while walking it is safe.
    [[nodiscard]] std::vector<std::shared_ptr<Window>> windows() const;
    // The window with the keyboard focus, if the application has it.
    [[nodiscard]] std::shared_ptr<Window> keyWindow() const;

    // Not owned; it must outlive its time as the delegate.
    void setDelegate(ApplicationDelegate* delegate) noexcept { delegate_ = delegate; }
    [[nodiscard]] ApplicationDelegate* delegate() const noexcept { return delegate_; }

    // Asks the platform's push provider for a device token, which reaches the delegate when one
    // arrives (on this desktop none does).
    void registerForRemoteNotifications();

    // The input event being handled, while a control handles one.
    [[nodiscard]] std::optional<Event> currentEvent() const noexcept { return currentEvent_; }
    // Makes `event` the current event for the life of the scope (nested scopes restore the outer one).
    class EventScope {
    public:
        explicit EventScope(Event event);
        ~EventScope();
        EventScope(const EventScope&) = delete;
        EventScope& operator=(const EventScope&) = delete;

    private:
        std::optional<Event> previous_;
    };

    // Makes the application the active one; with `ignoringOtherApps` even while another one is in use.
    void activate(bool ignoringOtherApps);
    // Ends the application.
    void terminate();
    // Shows the application's scenes on the installed backend and runs until the application ends;
    // the process's exit status. `arguments` are the command line's (URIs to open).
    int run(ui::App app, int argc, char** argv);

    // The menu the desktop offers where it launches the application from (the launcher's quicklist);
    // choosing an item there performs the item's action here. Follows the menu's changes.
    void setDockMenu(std::shared_ptr<Menu> menu);

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    Application() = default;

    std::optional<Event> currentEvent_;
    ApplicationDelegate* delegate_ = nullptr;
};

}  // namespace appkit
