#include "platform/backends/desktop/DesktopApplicationService.hpp"

#include <gio/gio.h>

#include <cstdlib>

namespace desktop {

void DesktopApplicationService::activate(bool ignoringOtherApps) {
    if (running_) {
        running_->activate(ignoringOtherApps);
    }
}

void DesktopApplicationService::terminate() {
    if (running_) {
        running_->terminate();
        return;
    }
    if (GApplication* application = g_application_get_default()) {
        g_application_quit(application);
        return;
    }
    std::exit(EXIT_SUCCESS);
}

int DesktopApplicationService::run(ui::App app, int argc, char** argv) {
    running_ = std::make_unique<DesktopApplication>(std::move(app), realizer_, intents_);
    const int status = running_->run(argc, argv);
    running_.reset();
    return status;
}

bool DesktopApplicationService::launch(ui::App app) {
    running_ = std::make_unique<DesktopApplication>(std::move(app), realizer_, intents_);
    return running_->launch();
}

bool DesktopApplicationService::openOwnLink(const foundation::URL& url) {
    return running_ && running_->openOwnLink(url);
}

std::vector<std::shared_ptr<appkit::Window>> DesktopApplicationService::windows() const {
    return running_ ? running_->windows() : std::vector<std::shared_ptr<appkit::Window>>{};
}

std::shared_ptr<appkit::Window> DesktopApplicationService::keyWindow() const {
    return running_ ? running_->keyWindow() : nullptr;
}

}  // namespace desktop
