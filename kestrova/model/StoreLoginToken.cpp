#include "kestrova/model/StoreLoginToken.hpp"

#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"

namespace kestrova {

void storeLoginToken(const std::vector<foundation::HTTPCookie>& cookies) {
    for (const auto& cookie : cookies) {
        if (cookie.name == "token") {
            try {
                AppGroupDefaults::shared().setToken(cookie.value);
            } catch (const foundation::UserDefaultsError&) {
                // The stored token stays; whoever reads it next uses that one.
            }
        }
    }
}

}  // namespace kestrova
