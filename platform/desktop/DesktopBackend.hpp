#pragma once

#include "platform/backend/Backend.hpp"
#include "platform/desktop/DesktopWindowRealizer.hpp"

#include <memory>

namespace desktop {

// GTK 3, WebKitGTK and the session bus. Connecting to the display happens
// when the backend is made, so that a program started without one says so
// at once instead of failing later inside a facade.
class DesktopBackend final : public backend::Backend {
public:
    // Throws std::runtime_error when no display can be opened.
    DesktopBackend();

    [[nodiscard]] std::string_view name() const noexcept override { return "desktop"; }
    [[nodiscard]] DesktopWindowRealizer& windowRealizer() override { return windowRealizer_; }

private:
    DesktopWindowRealizer windowRealizer_;
};

}  // namespace desktop
