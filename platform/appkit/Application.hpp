#pragma once

#include "platform/appkit/Window.hpp"

#include <memory>
#include <vector>

namespace appkit {

// The running application. Used on the main thread.
class Application {
public:
    static Application& shared();

    // The open windows, front to back: a copy, so closing them one by one while walking it is safe.
    [[nodiscard]] std::vector<std::shared_ptr<Window>> windows() const;

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    Application() = default;
};

}  // namespace appkit
