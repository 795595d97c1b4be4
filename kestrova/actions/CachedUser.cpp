#include "kestrova/actions/CachedUser.hpp"

#include "kestrova/model/AppGroupDefaults.hpp"

#include <exception>
#include <optional>

namespace kestrova {
namespace {

std::optional<User> cachedUser() {
    try {
        return AppGroupDefaults::shared().loadUser();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

std::vector<Journal> cachedJournals() {
    const auto user = cachedUser();
    return user && user->journals ? *user->journals : std::vector<Journal>{};
}

std::vector<Metric> cachedMetrics() {
    const auto user = cachedUser();
    return user && user->metrics ? *user->metrics : std::vector<Metric>{};
}

}  // namespace kestrova
