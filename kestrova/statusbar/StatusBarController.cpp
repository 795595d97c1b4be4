#include "kestrova/statusbar/StatusBarController.hpp"

#include "kestrova/state/AppState.hpp"
#include "kestrova/statusbar/StatusBarIconImage.hpp"
#include "platform/kits/appkit/Application.hpp"
#include "platform/kits/appkit/StatusBar.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"

namespace kestrova {

StatusBarController::StatusBarController() {
    concurrency::MainActor::preconditionIsolated();
    AppState& appState = AppState::shared();
    if (appState.statusBarIcon.get()) {
        createStatusItem();
    }
    // The publisher's first value is the one just looked at: it finds the item there and adds none.
    // The subscription ends with the controller, so no value reaches a controller that is gone.
    cancellable_ = appState.statusBarIcon.publisher().sink([this](const bool& shown) {
        if (shown) {
            if (!statusItem_) {
                createStatusItem();
            }
        } else if (statusItem_) {
            appkit::StatusBar::system().removeStatusItem(statusItem_);
            statusItem_.reset();
        }
    });
    // The icon shows the user's progress and the monochrome setting. Observers hear of a change
    // before it is made, so the icon is drawn again once the main loop turns.
    stateChanges_ = appState.objectWillChange().sink([this] {
        if (redrawPending_) {
            return;
        }
        redrawPending_ = true;
        concurrency::MainActor::shared().enqueue(base::ifAlive(self_.weak(), [](StatusBarController& controller) {
            controller.redrawPending_ = false;
            controller.redrawIcon();
        }));
    });
}

void StatusBarController::redrawIcon() {
    concurrency::MainActor::preconditionIsolated();
    if (!statusItem_) {
        return;
    }
    if (appkit::StatusBarButton* button = statusItem_->button()) {
        button->setImage(statusBarIconImage(appkit::StatusBar::system().thickness(), AppState::shared()));
    }
}

const std::shared_ptr<StatusItemMenu>& StatusBarController::statusItemMenu() {
    concurrency::MainActor::preconditionIsolated();
    if (!statusItemMenu_) {
        statusItemMenu_ = std::make_shared<StatusItemMenu>([] { appkit::Application::shared().terminate(); });
    }
    return statusItemMenu_;
}

void StatusBarController::createStatusItem() {
    concurrency::MainActor::preconditionIsolated();
    appkit::StatusBar& bar = appkit::StatusBar::system();
    statusItem_ = bar.statusItem(appkit::StatusItem::squareLength);
    appkit::StatusBarButton* button = statusItem_->button();
    if (button == nullptr) {
        return;
    }
    button->setMenu(statusItemMenu());
    const double thickness = bar.thickness();
    button->setImage(statusBarIconImage(thickness, AppState::shared()));
    button->setAction([this](appkit::StatusBarButton& sender) { onStatusBarClick(sender); });
    button->sendActionOn(appkit::eventMask(appkit::EventType::leftMouseUp) |
                         appkit::eventMask(appkit::EventType::rightMouseUp));
}

void StatusBarController::onStatusBarClick(appkit::StatusBarButton& sender) {
    concurrency::MainActor::preconditionIsolated();
    appkit::Application& application = appkit::Application::shared();
    const auto event = application.currentEvent();
    if (!event) {
        return;
    }
    if (event->type == appkit::EventType::rightMouseUp) {
        if (statusItem_ && sender.menu()) {
            statusItem_->popUpMenu(*sender.menu());
        }
        return;
    }
    application.activate(true);
    for (const auto& window : application.windows()) {
        if (window->canBecomeKey()) {
            window->makeKeyAndOrderFront();
            return;
        }
    }
}

}  // namespace kestrova
