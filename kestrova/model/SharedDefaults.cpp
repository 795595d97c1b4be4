#include "kestrova/model/SharedDefaults.hpp"

#include "platform/foundation/AppGroup.hpp"
#include "platform/foundation/JSONDecoder.hpp"
#include "platform/foundation/JSONEncoder.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/foundation/UserDefaultsError.hpp"

#include <cstdio>
#include <cstdlib>

namespace kestrova {
namespace {

constexpr std::string_view userKey = "user";

}  // namespace

foundation::UserDefaults& openSharedDefaults() {
    // Never destroyed: extension processes and background threads may still
    // read it while the process exits. A constructor that throws leaves the
    // static unset, so the next call opens the file again.
    static auto* const suite = new foundation::UserDefaults(foundation::AppGroup::identifier());
    return *suite;
}

foundation::UserDefaults& sharedDefaults() {
    try {
        return openSharedDefaults();
    } catch (const foundation::UserDefaultsError& error) {
        std::fprintf(stderr, "kestrova: cannot open the shared defaults: %s\n", error.what());
        std::fflush(stderr);
        // Exit without running destructors: other threads may be using
        // what they would tear down.
        std::_Exit(EXIT_FAILURE);
    }
}

foundation::UserDefaults& accountDefaults() {
    static foundation::UserDefaults& suite = sharedDefaults();
    return suite;
}

void saveUser(const User& user) {
    const foundation::Data json = foundation::JSONEncoder().encode(user);
    accountDefaults().set(json, userKey);
}

std::optional<User> loadUser() {
    const auto json = accountDefaults().data(userKey);
    if (!json) {
        return std::nullopt;
    }
    return foundation::JSONDecoder().decode<User>(*json);
}

}  // namespace kestrova
