#include "tools/standin/StandinData.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"
#include "tools/standin/Days.hpp"

#include <algorithm>

namespace standin {

StoredAccount* StandinData::accountWithToken(std::string_view token) {
    const auto found = std::ranges::find_if(accounts, [&](const StoredAccount& account) {
        return !token.empty() && account.token == token;
    });
    return found == accounts.end() ? nullptr : &*found;
}

const StoredAccount* StandinData::accountWithToken(std::string_view token) const {
    return const_cast<StandinData*>(this)->accountWithToken(token);
}

StoredAccount* StandinData::accountWithUsername(std::string_view username) {
    const auto found = std::ranges::find(accounts, username, &StoredAccount::username);
    return found == accounts.end() ? nullptr : &*found;
}

StandinData StandinData::demo() {
    const std::string day = today();
    const std::string yesterday = *dayBefore(day);
    StandinData data;
    auto entry = [&](std::int64_t journalId, const std::string& streakDate, std::string text) {
        return StoredEntry{.id = data.nextEntryId++,
                           .journalId = journalId,
                           .streakDate = streakDate,
                           .isPartOfStreak = true,
                           .createdAt = streakDate + "T08:30:00.000Z",
                           .blocks = {{.index = 0, .type = "text", .text = std::move(text)}}};
    };
    StoredAccount demo{.id = 1, .username = "demo", .password = "demo", .email = "demo@kestrova.localhost"};
    demo.journals = {
        {.id = 1, .title = "Workout", .description = "A run, a ride or a swim every day.", .slug = "workout",
         .iconEmoji = "🏃", .isDaily = true, .streak = 4, .streakDate = yesterday,
         .entries = {entry(1, yesterday, "Ran 5 km along the river.")}},
        {.id = 2, .title = "Reading", .description = "Twenty pages a day.", .slug = "reading",
         .iconEmoji = "📚", .isDaily = true, .streak = 9, .streakDate = day,
         .entries = {entry(2, day, "Finished the chapter on tides.")}},
        {.id = 3, .title = "Music", .description = "Piano practice on the scheduled days.", .slug = "music",
         .isScheduled = true, .streak = 2, .streakDate = yesterday},
        {.id = 4, .title = "Dreams", .description = "Only for me.", .slug = "dreams", .iconEmoji = "🌙",
         .isPrivate = true},
        {.id = 5, .title = "Gratitude", .description = "Three good things.", .slug = "gratitude",
         .iconEmoji = "🙏", .isDaily = true, .streak = 12, .streakDate = *dayBefore(yesterday)},
        {.id = 6, .title = "Field notes", .description = "Whatever comes up.", .slug = "field-notes"},
    };
    demo.metrics = {
        {.id = *foundation::UUID::fromString("6F1D2C3B-4A59-4E6F-8A7B-9C0D1E2F3A4B"), .name = "Distance",
         .unit = "km", .defaultValue = 5.0},
        {.id = *foundation::UUID::fromString("0B7C3D2E-1F40-4A5B-9C6D-7E8F90A1B2C3"), .name = "Pages",
         .unit = "pages", .defaultValue = 20.0},
        {.id = *foundation::UUID::fromString("A1B2C3D4-E5F6-4789-8ABC-DEF012345678"), .name = "Mood", .unit = "",
         .defaultValue = std::nullopt},
    };
    data.accounts.push_back(std::move(demo));
    return data;
}

namespace {

using foundation::Required;

using Fields = foundation::RecordFields<
    Required<"nextEntryId", &StandinData::nextEntryId>,
    Required<"accounts", &StandinData::accounts>>;

}  // namespace

StandinData StandinData::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void StandinData::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

}  // namespace standin
