#pragma once

#include "platform/kits/appkit/ModalResponse.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace appkit {

// Lets the user choose where to save a file. Shared, so that it lives until it ends.
class SavePanel : public std::enable_shared_from_this<SavePanel> {
    struct Token {};

public:
    static std::shared_ptr<SavePanel> make() { return std::make_shared<SavePanel>(Token{}); }
    explicit SavePanel(Token) {}

    bool canCreateDirectories = false;
    std::string nameFieldStringValue;
    // The folder the panel opens in; none leaves it to the desktop.
    std::optional<foundation::URL> directoryURL;

    // Shows the panel on its own, not attached to a window, and returns at once; `completion` runs
    // later on the main thread with ok or cancel.
    void begin(std::function<void(ModalResponse)> completion);

    // The chosen file, once the panel ended with ok.
    [[nodiscard]] const std::optional<foundation::URL>& url() const noexcept { return url_; }

private:
    std::optional<foundation::URL> url_;
};

}  // namespace appkit
