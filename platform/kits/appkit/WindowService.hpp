#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/kits/appkit/Window.hpp"

#include <memory>
#include <string_view>
#include <vector>

namespace appkit {

// The installed backend's windows of the application.
class WindowService : public base::Installable<WindowService> {
public:
    static constexpr std::string_view serviceName = "appkit::WindowService";

    virtual ~WindowService() = default;

    // The open windows, front to back.
    [[nodiscard]] virtual std::vector<std::shared_ptr<Window>> windows() = 0;
    // The window with the keyboard focus; none while another application has it.
    [[nodiscard]] virtual std::shared_ptr<Window> keyWindow() { return nullptr; }

protected:
    WindowService() = default;
};

}  // namespace appkit
