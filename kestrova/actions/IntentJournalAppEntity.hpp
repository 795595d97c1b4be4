#pragma once

#include "kestrova/model/Journal.hpp"
#include "platform/kits/appintents/DisplayRepresentation.hpp"
#include "platform/kits/appintents/EntityQuery.hpp"
#include "platform/kits/appintents/IntentValue.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// A journal as an action's parameter: the journal's id as decimal text, and how it shows (its emoji,
// a blank and its title, or the title alone).
struct IntentJournalAppEntity {
    static constexpr std::string_view typeName = "IntentJournalAppEntity";

    std::string id;
    std::string displayString;

    static IntentJournalAppEntity from(const Journal& journal);

    static std::string typeDisplayName() { return "Journal"; }
    [[nodiscard]] const std::string& identifier() const noexcept { return id; }
    [[nodiscard]] appintents::DisplayRepresentation displayRepresentation() const { return {displayString, {}}; }
    [[nodiscard]] appintents::EntityValue entityValue() const;
    // Throws std::invalid_argument for a value of another type.
    static IntentJournalAppEntity fromValue(const appintents::EntityValue& value);

    friend bool operator==(const IntentJournalAppEntity&, const IntentJournalAppEntity&) = default;
};

// Which journals exist for the actions, all from the cached user: any journal by its identifier,
// archived ones too; suggested and searched (by title) in the sections "Today" and "Not Today",
// always both.
class IntentJournalAppEntityQuery final : public appintents::EntityStringQuery<IntentJournalAppEntity> {
public:
    concurrency::Task<std::vector<IntentJournalAppEntity>> entities(std::vector<std::string> identifiers) override;
    concurrency::Task<appintents::IntentItemCollection<IntentJournalAppEntity>> suggestedEntities() override;
    concurrency::Task<appintents::IntentItemCollection<IntentJournalAppEntity>> entitiesMatching(
        std::string text) override;
};

}  // namespace kestrova
