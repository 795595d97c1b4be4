#include "kestrova/actions/CreateEntry.hpp"

#include "kestrova/actions/IntentEntryAppEntity.hpp"
#include "kestrova/actions/IntentError.hpp"
#include "kestrova/actions/ServiceCall.hpp"
#include "kestrova/model/DecimalInteger.hpp"
#include "kestrova/networking/EntryUpload.hpp"
#include "kestrova/networking/Networking.hpp"

#include <cstdint>
#include <functional>

namespace kestrova {
namespace {

using appintents::ParameterReference;
using Block = Networking::EntryUpload::Block;

// The journal query writes every identifier as decimal text; anything else names no journal.
std::int64_t journalIdOf(const IntentJournalAppEntity& journal) {
    const auto id = decimalInteger(journal.id);
    if (!id) {
        throw IntentError::unknown("No journal has the identifier \"" + journal.id + "\".");
    }
    return *id;
}

// The type's preferred MIME type; the service takes a file it cannot tell for an image.
std::string mimeTypeOf(const appintents::IntentFile& file) {
    const auto mimeType = file.type ? file.type->preferredMIMEType() : std::nullopt;
    return mimeType.value_or("image/png");
}

}  // namespace

const appintents::IntentMetadata& CreateEntry::metadata() {
    static const appintents::IntentMetadata made{
        .title = "Create Entry", .intentClassName = "CreateEntryIntent", .isPredictable = true};
    return made;
}

appintents::ParameterSummary CreateEntry::parameterSummary() {
    return appintents::ParameterSummary::when(
        "file",
        {{"Publish ", ParameterReference{"notes"}, " to ", ParameterReference{"journal"}, " with ",
          ParameterReference{"file"}, "."},
         {"isPrivate", "isPartOfStreak"}},
        {{"Publish ", ParameterReference{"notes"}, " to ", ParameterReference{"journal"}, "."},
         {"file", "isPrivate", "isPartOfStreak"}});
}

std::vector<appintents::IntentPrediction> CreateEntry::predictionConfiguration() const {
    // Unlike the summary, the suggestion ends with the journal.
    auto display = [this] {
        const auto& chosen = journal.wrappedValue();
        return appintents::DisplayRepresentation{
            "Publish " + notes.wrappedValue().value_or("") + " to " + (chosen ? chosen->displayString : ""), ""};
    };
    return {{{"journal", "isPrivate", "notes"}, display}, {{"journal", "notes"}, display}};
}

concurrency::Task<appintents::IntentResult> CreateEntry::perform() {
    const std::string token = sessionToken();
    std::vector<Block> blocks{Block::text(*notes)};
    if (const auto& attached = file.wrappedValue()) {
        blocks.push_back(Block::fileData(attached->data, attached->filename, mimeTypeOf(*attached)));
    }
    Networking::EntryUpload upload{.id = foundation::UUID(),
                                   .journalId = journalIdOf(*journal),
                                   .streakDate = "",
                                   .isPrivate = *isPrivate,
                                   .isPartOfStreak = *isPartOfStreak,
                                   .blocks = std::move(blocks)};
    const std::function<void(double)> noProgress = [](double) {};
    const KestrovaEntry created = co_await serviceCall(Networking::createEntry(std::move(upload), token, noProgress));
    // The entry belongs to the journal it was sent to, whatever the reply says.
    co_return appintents::IntentResult::result(IntentEntryAppEntity(created.id, journalIdOf(*journal)).entityValue());
}

}  // namespace kestrova
