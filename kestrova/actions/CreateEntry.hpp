#pragma once

#include "kestrova/actions/IntentJournalAppEntity.hpp"
#include "platform/kits/appintents/AppIntent.hpp"
#include "platform/kits/appintents/IntentFile.hpp"
#include "platform/kits/appintents/IntentParameter.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// "Create Entry": publishes the notes, and a file when one is given, to one of the user's journals,
// and hands the new entry to the next step. Succeeds the custom intent CreateEntryIntent.
class CreateEntry final : public appintents::AppIntent {
public:
    static constexpr std::string_view typeName = "CreateEntry";
    static const appintents::IntentMetadata& metadata();
    static appintents::ParameterSummary parameterSummary();

    // Returns the created entry as an IntentEntryAppEntity of this action's journal; throws IntentError.
    concurrency::Task<appintents::IntentResult> perform() override;
    [[nodiscard]] std::vector<appintents::IntentPrediction> predictionConfiguration() const override;

    appintents::IntentParameter<IntentJournalAppEntity> journal{
        *this, "journal",
        {.title = "Journal",
         .description = "The journal your entry will be published to.",
         .requestDialog = "To which Journal do you want to publish?"}};
    appintents::IntentParameter<std::string> notes{
        *this, "notes",
        {.title = "Notes",
         .description = "The content of your entry.",
         .requestDialog = "Please enter the notes of your entry."}};
    appintents::IntentParameter<bool> isPrivate{
        *this, "isPrivate", {.title = "Private", .description = "Select if your entry should be public or private?"},
        true};
    appintents::IntentParameter<bool> isPartOfStreak{
        *this, "isPartOfStreak",
        {.title = "Streak Count", .description = "Select if the entry will count towards your journa's streak."},
        true};
    appintents::IntentParameter<appintents::IntentFile, true> file{
        *this, "file",
        {.title = "File",
         .description = "File that will be attached to your entry.",
         .supportedTypeIdentifiers = {appintents::UTType::item().identifier()}}};
};

}  // namespace kestrova
