#include "fuzz/support/IntentSeeds.hpp"

#include "bench/json_bench/HeavyUser.hpp"
#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/kits/intents/File.hpp"
#include "platform/kits/intents/Interaction.hpp"
#include "platform/kits/intents/Number.hpp"
#include "platform/kits/intents/ObjectSection.hpp"
#include "kestrova/intents/IntentJournal.hpp"
#include "kestrova/intents/OpenPublishViewIntent.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace fuzzsupport {
namespace {

std::shared_ptr<kestrova::IntentJournal> intentJournal(const kestrova::Journal& journal) {
    std::string display = journal.iconEmoji ? journal.iconEmoji->str() + " " : "";
    display += journal.title.str();
    return std::make_shared<kestrova::IntentJournal>(std::to_string(journal.id), display, std::nullopt);
}

}  // namespace

std::shared_ptr<intents::ObjectCollection> journalOptions(int journalCount) {
    const auto user = bench::makeHeavyUser(journalCount, 0);
    std::vector<std::shared_ptr<intents::Object>> today;
    std::vector<std::shared_ptr<intents::Object>> notToday;
    for (const auto& journal : *user.journals) {
        (journal.isDaily.value_or(false) ? today : notToday).push_back(intentJournal(journal));
    }
    return std::make_shared<intents::ObjectCollection>(std::vector<std::shared_ptr<intents::ObjectSection>>{
        std::make_shared<intents::ObjectSection>("Today", std::move(today)),
        std::make_shared<intents::ObjectSection>("Not Today", std::move(notToday))});
}

std::shared_ptr<kestrova::CreateEntryIntent> createEntryIntent(std::size_t fileSize) {
    auto intent = std::make_shared<kestrova::CreateEntryIntent>();
    intent->setJournal(std::make_shared<kestrova::IntentJournal>("7", "🏃 Workout", std::nullopt));
    intent->setNotes("Ran 5 km along the river, \"easy\" pace; ünïcödé and a\nsecond line");
    intent->setIsPrivate(intents::Number(false));
    // Bytes that look like a photo to nobody, but cover every value.
    std::vector<std::uint8_t> bytes(fileSize);
    std::uint32_t state = 2463534242U;
    for (auto& byte : bytes) {
        state ^= state << 13U;
        state ^= state >> 17U;
        state ^= state << 5U;
        byte = static_cast<std::uint8_t>(state);
    }
    intent->setFile(std::make_shared<intents::File>(foundation::Data(std::move(bytes)), "photo.jpg", "public.jpeg"));
    return intent;
}

std::shared_ptr<intents::UserActivity> openPublishViewActivity() {
    auto intent = std::make_shared<kestrova::OpenPublishViewIntent>();
    intent->setJournal(std::make_shared<kestrova::IntentJournal>("42", "📓 Journal", std::nullopt));
    auto activity = std::make_shared<intents::UserActivity>("OpenPublishViewIntent");
    activity->setInteraction(std::make_shared<intents::Interaction>(intent));
    return activity;
}

}  // namespace fuzzsupport
