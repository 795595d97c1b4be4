#include "kestrova/actions/ServiceCall.hpp"

#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/networking/KestrovaAPIError.hpp"

namespace kestrova {

std::string sessionToken() {
    std::optional<std::string> token;
    try {
        token = AppGroupDefaults::shared().token();
    } catch (const std::exception& error) {
        throw intentErrorFor(error);
    }
    if (!token) {
        throw IntentError::notAuthenticated();
    }
    return *token;
}

IntentError intentErrorFor(const std::exception& error) {
    const auto* apiError = dynamic_cast<const KestrovaAPIError*>(&error);
    if (apiError != nullptr && apiError->kind() == KestrovaAPIError::Case::unauthorized) {
        return IntentError::notAuthenticated();
    }
    return IntentError::unknown(error.what());
}

}  // namespace kestrova
