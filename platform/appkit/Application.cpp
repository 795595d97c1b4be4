#include "platform/appkit/Application.hpp"

#include "platform/appkit/WindowService.hpp"
#include "platform/backend/Backend.hpp"

namespace appkit {

Application& Application::shared() {
    static Application* const application = new Application;
    return *application;
}

std::vector<std::shared_ptr<Window>> Application::windows() const {
    return backend::Backend::installed().windowService().windows();
}

}  // namespace appkit
