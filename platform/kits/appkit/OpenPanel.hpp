#pragma once

#include "platform/kits/appkit/ModalResponse.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace appkit {

// Lets the user choose files or folders to open. Shared, so that it lives until it ends.
class OpenPanel : public std::enable_shared_from_this<OpenPanel> {
    struct Token {};

public:
    static std::shared_ptr<OpenPanel> make() { return std::make_shared<OpenPanel>(Token{}); }
    explicit OpenPanel(Token) {}

    bool canChooseFiles = true;
    bool canChooseDirectories = false;
    bool allowsMultipleSelection = false;

    // Shows the panel on its own, not attached to a window, and returns at once; `completion` runs
    // later on the main thread with ok or cancel.
    void begin(std::function<void(ModalResponse)> completion);

    // What the user chose, once the panel ended with ok.
    [[nodiscard]] const std::vector<foundation::URL>& urls() const noexcept { return urls_; }

private:
    std::vector<foundation::URL> urls_;
};

}  // namespace appkit
