#include "orvane/Store.hpp"

#include "kestrova/model/SharedDefaults.hpp"
#include "orvane/User.hpp"
#include "platform/foundation/JSONDecoder.hpp"
#include "platform/foundation/UserDefaults.hpp"

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

}  // namespace

Store::Store() : Store(kestrova::sharedDefaults()) {}

std::vector<KestrovaJournal> Store::journals() const {
    const auto stored = userDefaults_.data("user");
    if (!stored) {
        return {};
    }
    try {
        return foundation::JSONDecoder().decode<User>(*stored).journals.value_or(std::vector<KestrovaJournal>{});
    } catch (const std::exception& error) {
        std::printf("%s\n", error.what());
        std::fflush(stdout);
        return {};
    }
}

std::vector<KestrovaJournal> Store::dailyJournals() const {
    return withDailyFlag(journals(), true);
}

std::vector<KestrovaJournal> Store::otherJournals() const {
    return withDailyFlag(journals(), false);
}

}  // namespace orvane
