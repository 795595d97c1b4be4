#include "platform/kits/appkit/Application.hpp"

#include "platform/kits/appkit/ApplicationService.hpp"
#include "platform/kits/appkit/DockService.hpp"
#include "platform/kits/appkit/PushService.hpp"
#include "platform/kits/appkit/WindowService.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"

namespace appkit {

Application& Application::shared() {
    static Application* const application = new Application;
    return *application;
}

std::vector<std::shared_ptr<Window>> Application::windows() const {
    concurrency::MainActor::preconditionIsolated();
    return WindowService::installed().windows();
}

std::shared_ptr<Window> Application::keyWindow() const {
    concurrency::MainActor::preconditionIsolated();
    return WindowService::installed().keyWindow();
}

Application::EventScope::EventScope(Event event) : previous_(Application::shared().currentEvent_) {
    Application::shared().currentEvent_ = event;
}

Application::EventScope::~EventScope() {
    Application::shared().currentEvent_ = previous_;
}

void Application::activate(bool ignoringOtherApps) {
    concurrency::MainActor::preconditionIsolated();
    ApplicationService::installed().activate(ignoringOtherApps);
}

void Application::terminate() {
    concurrency::MainActor::preconditionIsolated();
    ApplicationService::installed().terminate();
}

int Application::run(ui::App app, int argc, char** argv) {
    concurrency::MainActor::preconditionIsolated();
    return ApplicationService::installed().run(std::move(app), argc, argv);
}

void Application::registerForRemoteNotifications() {
    concurrency::MainActor::preconditionIsolated();
    PushService::installed().registerForRemoteNotifications([](const foundation::Data& token) {
        // The delegate of the moment the token arrives.
        if (ApplicationDelegate* delegate = Application::shared().delegate_) {
            delegate->didRegisterForRemoteNotifications(token);
        }
    });
}

void Application::setDockMenu(std::shared_ptr<Menu> menu) {
    concurrency::MainActor::preconditionIsolated();
    DockService::installed().setMenu(std::move(menu));
}

}  // namespace appkit
