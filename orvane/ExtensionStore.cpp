#include "orvane/ExtensionStore.hpp"

#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/model/SharedDefaults.hpp"
#include "orvane/ReducedUser.hpp"
#include "orvane/StoreError.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace orvane {
namespace {

std::vector<KestrovaJournal> withDailyFlag(std::vector<KestrovaJournal> journals, bool isDaily) {
    std::vector<KestrovaJournal> result;
    std::copy_if(std::make_move_iterator(journals.begin()), std::make_move_iterator(journals.end()),
                 std::back_inserter(result), [isDaily](const KestrovaJournal& j) { return j.isDaily == isDaily; });
    return result;
}

// Runs an access to the suite, saying why it failed as the store's error.
template <typename Access>
decltype(auto) accessing(Access access) {
    try {
        return access();
    } catch (const foundation::UserDefaultsError& error) {
        throw StoreError(error.what());
    }
}

}  // namespace

foundation::UserDefaults& ExtensionStore::userDefaults() const {
    if (userDefaults_ != nullptr) {
        return *userDefaults_;
    }
    return accessing([]() -> foundation::UserDefaults& { return kestrova::openSharedDefaults(); });
}

std::optional<std::string> ExtensionStore::token() const {
    auto& defaults = userDefaults();
    auto token = accessing([&] { return kestrova::AppGroupDefaults(defaults).token(); });
    if (token && !foundation::URLRequest::isValidHeaderValue(*token)) {
        throw StoreError("the token stored in \"" + defaults.file().string() +
                         "\" holds a line break or NUL character, which no request can carry");
    }
    return token;
}

std::vector<KestrovaJournal> ExtensionStore::journals() const {
    auto& defaults = userDefaults();
    const auto stored = accessing([&] { return kestrova::AppGroupDefaults(defaults).cachedUserJSON(); });
    if (!stored) {
        return {};
    }
    try {
        return foundation::JSONDecoder().decode<ReducedUser>(*stored).journals.value_or(std::vector<KestrovaJournal>{});
    } catch (const std::exception& error) {
        std::printf("%s\n", error.what());
        std::fflush(stdout);
        return {};
    }
}

std::vector<KestrovaJournal> ExtensionStore::dailyJournals() const {
    return withDailyFlag(journals(), true);
}

std::vector<KestrovaJournal> ExtensionStore::otherJournals() const {
    return withDailyFlag(journals(), false);
}

}  // namespace orvane
