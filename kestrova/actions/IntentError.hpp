#pragma once

#include "platform/kits/appintents/CustomLocalizedStringResourceConvertible.hpp"

#include <exception>
#include <optional>
#include <string>

namespace kestrova {

// The one error of the application's actions; its message is what the user is shown when an
// action fails.
class IntentError : public std::exception, public appintents::CustomLocalizedStringResourceConvertible {
public:
    enum class Case { unknown, notAuthenticated };

    static IntentError unknown(std::optional<std::string> message);
    static IntentError notAuthenticated() { return {Case::notAuthenticated, std::nullopt}; }

    [[nodiscard]] Case kind() const noexcept { return case_; }
    [[nodiscard]] const std::optional<std::string>& message() const noexcept { return message_; }

    [[nodiscard]] std::string localizedStringResource() const override;
    [[nodiscard]] const char* what() const noexcept override { return description_.c_str(); }

private:
    IntentError(Case kind, std::optional<std::string> message);

    Case case_;
    std::optional<std::string> message_;
    std::string description_;
};

}  // namespace kestrova
