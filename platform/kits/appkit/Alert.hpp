#pragma once

#include "platform/kits/appkit/AlertStyle.hpp"
#include "platform/kits/appkit/ModalResponse.hpp"

#include <optional>
#include <string>
#include <vector>

namespace appkit {

// A modal question with buttons and, when given, a text field. On the main thread.
class Alert {
public:
    // The one kind of accessory the application uses: a one-line text field of the given size.
    struct TextField {
        double width = 0;
        double height = 0;
        std::string stringValue;
    };

    std::string messageText = "Alert";
    std::string informativeText;
    AlertStyle alertStyle = AlertStyle::warning;

    void addButton(std::string title) { buttons_.push_back(std::move(title)); }
    [[nodiscard]] const std::vector<std::string>& buttons() const noexcept { return buttons_; }

    void setAccessoryView(TextField field) { accessory_ = std::move(field); }
    // The field as the user left it when the alert ended.
    [[nodiscard]] const std::optional<TextField>& accessoryView() const noexcept { return accessory_; }

    // Runs until a button ends it: alertFirstButtonReturn for the first one added, and so on;
    // cancel when it was dismissed without one.
    ModalResponse runModal();

private:
    std::vector<std::string> buttons_;
    std::optional<TextField> accessory_;
};

}  // namespace appkit
