#include "kestrova/actions/IntentJournalAppEntity.hpp"

#include "kestrova/actions/CachedUser.hpp"
#include "kestrova/model/JournalLists.hpp"

#include <optional>
#include <stdexcept>

namespace kestrova {
namespace {

using Collection = appintents::IntentItemCollection<IntentJournalAppEntity>;

// The entities of the journals `select` takes from the cached ones, those whose title contains the
// search text when there is one. Each section reads the cache on its own.
std::vector<IntentJournalAppEntity> section(std::vector<Journal> (*select)(const std::vector<Journal>&),
                                            const std::optional<foundation::Text>& search) {
    std::vector<IntentJournalAppEntity> entities;
    for (const auto& journal : select(cachedJournals())) {
        if (!search || journal.title.localizedCaseInsensitiveContains(*search)) {
            entities.push_back(IntentJournalAppEntity::from(journal));
        }
    }
    return entities;
}

Collection todayAndNotToday(const std::optional<foundation::Text>& search) {
    auto today = section(dueJournals, search);
    auto notToday = section(notTodayJournals, search);
    return Collection({{"Today", std::move(today)}, {"Not Today", std::move(notToday)}});
}

}  // namespace

IntentJournalAppEntity IntentJournalAppEntity::from(const Journal& journal) {
    return {std::to_string(journal.id),
            journal.iconEmoji ? journal.iconEmoji->str() + " " + journal.title.str() : journal.title.str()};
}

appintents::EntityValue IntentJournalAppEntity::entityValue() const {
    return {std::string(typeName), id, displayRepresentation(), {}};
}

IntentJournalAppEntity IntentJournalAppEntity::fromValue(const appintents::EntityValue& value) {
    if (value.typeName != typeName) {
        throw std::invalid_argument("a " + value.typeName + " is no journal");
    }
    return {value.identifier, value.display.title};
}

concurrency::Task<std::vector<IntentJournalAppEntity>> IntentJournalAppEntityQuery::entities(
    std::vector<std::string> identifiers) {
    std::vector<IntentJournalAppEntity> found;
    for (const auto& identifier : identifiers) {
        for (const auto& journal : cachedJournals()) {
            if (std::to_string(journal.id) == identifier) {
                found.push_back(IntentJournalAppEntity::from(journal));
            }
        }
    }
    co_return found;
}

concurrency::Task<Collection> IntentJournalAppEntityQuery::suggestedEntities() {
    co_return todayAndNotToday(std::nullopt);
}

concurrency::Task<Collection> IntentJournalAppEntityQuery::entitiesMatching(std::string text) {
    co_return todayAndNotToday(foundation::Text(std::move(text)));
}

}  // namespace kestrova
