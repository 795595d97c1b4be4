#include "kestrova/actions/IntentEntryAppEntity.hpp"
#include "kestrova/actions/IntentError.hpp"
#include "kestrova/actions/IntentJournalAppEntity.hpp"
#include "kestrova/actions/IntentMetricAppEntity.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "tests/kestrova/actions/ActionsFixture.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using actionstest::ActionsTest;
using appintents::EntityCollection;
using appintents::EntityValue;

constexpr const char* journalType = "IntentJournalAppEntity";
constexpr const char* metricType = "IntentMetricAppEntity";

Journal journal(std::int64_t id, const char* title) {
    Journal made;
    made.id = id;
    made.title = title;
    return made;
}

Journal due(Journal journal, std::int64_t index) {
    journal.isDue = true;
    journal.isDaily = false;
    journal.index = index;
    return journal;
}

Journal notToday(Journal journal, std::int64_t index) {
    journal.isDue = false;
    journal.isDaily = false;
    journal.notTodayIndex = index;
    return journal;
}

void cache(std::vector<Journal> journals, std::vector<Metric> metrics = {}) {
    User user;
    user.username = "ann";
    user.journals = std::move(journals);
    user.metrics = std::move(metrics);
    AppGroupDefaults::shared().saveUser(user);
}

// Each section's title and the identifiers of its items.
using Shown = std::vector<std::pair<std::optional<std::string>, std::vector<std::string>>>;
Shown shown(const EntityCollection& collection) {
    Shown sections;
    for (const auto& section : collection) {
        std::vector<std::string> identifiers;
        for (const auto& item : section.items) {
            identifiers.push_back(item.identifier);
        }
        sections.emplace_back(section.title, std::move(identifiers));
    }
    return sections;
}

std::vector<std::string> identifiers(const std::vector<EntityValue>& values) {
    return shown({{std::nullopt, values}})[0].second;
}

TEST(IntentErrorTest, MessagesOfEachCase) {
    const struct {
        IntentError error;
        const char* message;
    } rows[] = {
        {IntentError::unknown("Journal not found"), "Action could not be completed: Journal not found"},
        {IntentError::unknown(""), "Action could not be completed: "},
        {IntentError::unknown(std::nullopt), "Action could not be completed for an unknown reason."},
        {IntentError::notAuthenticated(), "You are not authenticated. Please open the Kestrova app and login."},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.error.localizedStringResource(), row.message);
        EXPECT_STREQ(row.error.what(), row.message);
    }
}

TEST(IntentJournalAppEntityTest, IdentifiedByDecimalIdAndShownWithItsEmoji) {
    Journal run = journal(12, "Run");
    EXPECT_EQ(IntentJournalAppEntity::from(run), (IntentJournalAppEntity{"12", "Run"}));
    run.iconEmoji = "🏃";
    const auto entity = IntentJournalAppEntity::from(run);
    EXPECT_EQ(entity, (IntentJournalAppEntity{"12", "🏃 Run"}));
    EXPECT_EQ(entity.displayRepresentation(), (appintents::DisplayRepresentation{"🏃 Run", std::nullopt}));
    run.iconEmoji = "";
    EXPECT_EQ(IntentJournalAppEntity::from(run).displayString, " Run");
    EXPECT_EQ(IntentJournalAppEntity::from(journal(-4, "Minus")).id, "-4");
    EXPECT_EQ(IntentJournalAppEntity::fromValue(entity.entityValue()), entity);
    EXPECT_THROW(IntentJournalAppEntity::fromValue({metricType, "12", {"Run", {}}, {}}), std::invalid_argument);
    EXPECT_EQ(IntentJournalAppEntity::typeDisplayName(), "Journal");
}

class JournalQueryTest : public ActionsTest {};

TEST_F(JournalQueryTest, SuggestsTodayAndNotTodayInTheirOrders) {
    Journal daily = journal(4, "S");
    daily.isDaily = true;
    daily.isDue = false;
    Journal archived = due(journal(5, "T"), 0);
    archived.archived = true;
    cache({due(journal(1, "P"), 2), due(journal(2, "Q"), 1), notToday(journal(3, "R"), 0), daily, archived});

    EXPECT_EQ(shown(suggested(journalType)), (Shown{{"Today", {"2", "1"}}, {"Not Today", {"3"}}}));
    // Neither suggested journal still resolves, and so do the archived one and one named twice.
    EXPECT_EQ(identifiers(entities(journalType, {"4", "5", "1", "1", "99"})),
              (std::vector<std::string>{"4", "5", "1", "1"}));
    EXPECT_EQ(identifiers(entities(journalType, {"04", "+4", "", " 4"})), std::vector<std::string>{});
    EXPECT_EQ(identifiers(entities(journalType, {})), std::vector<std::string>{});
}

TEST_F(JournalQueryTest, SearchesTitlesOnly) {
    Journal morningRun = due(journal(1, "Morning Run"), 0);
    morningRun.iconEmoji = "🏃";
    cache({due(journal(2, "Reading"), 1), notToday(journal(3, "RUNNING"), 0), morningRun});
    const struct {
        const char* text;
        Shown found;
    } rows[] = {
        {"run", {{"Today", {"1"}}, {"Not Today", {"3"}}}},
        {"READ", {{"Today", {"2"}}, {"Not Today", {}}}},
        {"🏃", {{"Today", {}}, {"Not Today", {}}}},
        {"walk", {{"Today", {}}, {"Not Today", {}}}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(shown(matching(journalType, row.text)), row.found) << row.text;
    }
    EXPECT_EQ(matching(journalType, "run")[0].items[0].display.title, "🏃 Morning Run");
}

TEST_F(JournalQueryTest, WithoutAReadableCachedUserEverySectionIsEmpty) {
    const Shown empty{{"Today", {}}, {"Not Today", {}}};
    EXPECT_EQ(shown(suggested(journalType)), empty);
    EXPECT_EQ(identifiers(entities(journalType, {"1"})), std::vector<std::string>{});
    sharedDefaults().set(foundation::Data("{}"), "user");
    EXPECT_EQ(shown(suggested(journalType)), empty);
    EXPECT_EQ(shown(matching(journalType, "")), empty);
    EXPECT_EQ(identifiers(entities(journalType, {"1"})), std::vector<std::string>{});
    User noJournals;
    AppGroupDefaults::shared().saveUser(noJournals);
    EXPECT_EQ(shown(suggested(journalType)), empty);
}

const auto weightId = *foundation::UUID::fromString("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
const auto waterId = *foundation::UUID::fromString("0C247A3E-6E5F-495A-93FC-E621E1F8C36C");
const auto sleepId = *foundation::UUID::fromString("93FC0C24-7A3E-495A-6E5F-E621E1F8C36C");

class MetricQueryTest : public ActionsTest {
protected:
    void SetUp() override {
        ActionsTest::SetUp();
        cache({}, {{weightId, "Weight", "kg", 70.0}, {waterId, "Water", "l", std::nullopt}, {sleepId, "Sleep", "h", 8.0}});
    }
};

TEST_F(MetricQueryTest, ListsTheCachedMetricsInTheirOrderByName) {
    const auto lists = suggested(metricType);
    EXPECT_EQ(shown(lists), (Shown{{std::nullopt, {weightId.uuidString(), waterId.uuidString(), sleepId.uuidString()}}}));
    EXPECT_EQ(lists[0].items[0].display, (appintents::DisplayRepresentation{"Weight", std::nullopt}));
    EXPECT_EQ(lists[0].items[0].property<std::string>("unit"), "kg");
}

TEST_F(MetricQueryTest, SearchesNamesOnlyAndResolvesByUUID) {
    EXPECT_EQ(shown(matching(metricType, "wat")), (Shown{{std::nullopt, {waterId.uuidString()}}}));
    EXPECT_EQ(shown(matching(metricType, "kg")), (Shown{{std::nullopt, {}}}));
    const auto unknown = foundation::UUID().uuidString();
    EXPECT_EQ(identifiers(entities(metricType, {sleepId.uuidString(), unknown, "Weight", weightId.uuidString()})),
              (std::vector<std::string>{sleepId.uuidString(), weightId.uuidString()}));
}

TEST_F(MetricQueryTest, WithoutACachedUserEveryListIsEmpty) {
    signOut();
    EXPECT_EQ(shown(suggested(metricType)), (Shown{{std::nullopt, {}}}));
    EXPECT_EQ(shown(matching(metricType, "w")), (Shown{{std::nullopt, {}}}));
    EXPECT_EQ(identifiers(entities(metricType, {weightId.uuidString()})), std::vector<std::string>{});
}

TEST(IntentMetricAppEntityTest, CarriesItsUnitFromStepToStep) {
    const IntentMetricAppEntity weight{weightId, "Weight", "kg"};
    const EntityValue value = weight.entityValue();
    EXPECT_EQ(value.identifier, weightId.uuidString());
    EXPECT_EQ(IntentMetricAppEntity::fromValue(value), weight);
    EXPECT_EQ(IntentMetricAppEntity::typeDisplayName(), "Metric");
    EntityValue withoutUnit = value;
    withoutUnit.properties.clear();
    EXPECT_THROW(IntentMetricAppEntity::fromValue(withoutUnit), std::invalid_argument);
    EntityValue badIdentifier = value;
    badIdentifier.identifier = "weight";
    EXPECT_THROW(IntentMetricAppEntity::fromValue(badIdentifier), std::invalid_argument);
}

TEST(IntentEntryAppEntityTest, ShowsAsEntryNumberWithTitledProperties) {
    const struct {
        IntentEntryAppEntity entry;
        const char* display;
        std::int64_t id;
        std::optional<std::int64_t> journalId;
    } rows[] = {
        {IntentEntryAppEntity(57, 3), "Entry #57", 57, 3},
        {IntentEntryAppEntity(), "Entry #0", 0, std::nullopt},
        {IntentEntryAppEntity(-1, 2), "Entry #-1", -1, 2},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.entry.displayRepresentation(), (appintents::DisplayRepresentation{row.display, std::nullopt}));
        EXPECT_EQ(row.entry.identifier(), std::to_string(row.id));
        EXPECT_EQ(row.entry.id(), row.id);
        EXPECT_EQ(row.entry.journalId(), row.journalId);
        const auto back = IntentEntryAppEntity::fromValue(row.entry.entityValue());
        EXPECT_EQ(back.properties(), row.entry.properties());
    }
    const IntentEntryAppEntity entry(57, 3);
    const auto& properties = entry.properties();
    ASSERT_EQ(properties.size(), 2u);
    EXPECT_EQ(properties[0].title, "ID");
    EXPECT_EQ(properties[1].title, "Journal ID");
    EXPECT_EQ(IntentEntryAppEntity::typeDisplayName(), "Entry");
    EXPECT_THROW(IntentEntryAppEntity::fromValue({"IntentEntryAppEntity", "57", {"Entry #57", {}}, {}}),
                 std::invalid_argument);
}

}  // namespace
}  // namespace kestrova
