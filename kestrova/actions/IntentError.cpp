#include "kestrova/actions/IntentError.hpp"

namespace kestrova {

IntentError IntentError::unknown(std::optional<std::string> message) {
    return {Case::unknown, std::move(message)};
}

IntentError::IntentError(Case kind, std::optional<std::string> message)
    : case_(kind), message_(std::move(message)), description_(localizedStringResource()) {}

std::string IntentError::localizedStringResource() const {
    switch (case_) {
    case Case::unknown:
        return message_ ? "Action could not be completed: " + *message_
                        : "Action could not be completed for an unknown reason.";
    case Case::notAuthenticated:
        return "You are not authenticated. Please open the Kestrova app and login.";
    }
    return {};
}

}  // namespace kestrova
