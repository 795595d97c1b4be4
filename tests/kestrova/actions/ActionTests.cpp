#include "kestrova/actions/IntentEntryAppEntity.hpp"
#include "kestrova/actions/IntentJournalAppEntity.hpp"
#include "kestrova/actions/IntentMetricAppEntity.hpp"
#include "kestrova/model/AppGroupDefaults.hpp"
#include "kestrova/model/MetricData.hpp"
#include "kestrova/networking/KestrovaAPIError.hpp"
#include "platform/backends/headless/HeadlessBackend.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "tests/kestrova/actions/ActionsFixture.hpp"
#include "tests/kestrova/networking/APIServer.hpp"
#include "tests/support/MultipartForm.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using appintents::DisplayRepresentation;
using appintents::IntentFile;
using appintents::IntentValues;
using appintents::UTType;
using apitest::api;
using apitest::lastRequest;
using apitest::requestsTo;
using testsupport::boundaryOf;
using testsupport::encodedForm;
using testsupport::FormPart;
using testsupport::Reply;

const std::string notAuthenticated = "You are not authenticated. Please open the Kestrova app and login.";
const auto weightId = *foundation::UUID::fromString("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");

const appintents::EntityValue runJournal = IntentJournalAppEntity{"12", "🏃 Run"}.entityValue();

IntentValues createEntryValues(std::string notes) {
    return {{"journal", runJournal}, {"notes", std::move(notes)}};
}

IntentValues metricValues(double value) {
    return {{"metric", IntentMetricAppEntity{weightId, "Weight", "kg"}.entityValue()},
            {"entry", IntentEntryAppEntity(57, 3).entityValue()},
            {"value", value}};
}

std::vector<FormPart> entryForm(std::string journalId, std::string isPrivate, std::string isPartOfStreak,
                                std::vector<FormPart> blocks) {
    std::vector<FormPart> parts{{"journal_id", std::move(journalId)},
                                {"streakDate", ""},
                                {"private", std::move(isPrivate)},
                                {"isPartOfStreak", std::move(isPartOfStreak)}};
    parts.insert(parts.end(), blocks.begin(), blocks.end());
    return parts;
}

// Signed in, with the API at hand.
class ServerActionsTest : public actionstest::ActionsTest {
protected:
    void SetUp() override {
        ActionsTest::SetUp();
        AppGroupDefaults::shared().setToken("t0k");
        api().reply("POST", "/entries/create", {.status = 201, .body = R"({"id":345,"journal_id":99})"});
        // The stored record is the one sent.
        api().handle("POST", "/metric-data",
                     [](const testsupport::RecordedRequest& request) { return Reply{.status = 201, .body = request.body}; });
        api().reply("POST", "/users", {.status = 200, .body = R"({"id":1,"username":"ann","quietMode":false})"});
    }
};

TEST_F(ServerActionsTest, CreateEntrySendsTheNotesAndTheFileAndReturnsTheEntryOfItsJournal) {
    const std::string pdf("%PDF-1.7\n\0\xff", 11);
    IntentValues values = createEntryValues("Hello\r\nworld");
    values["isPrivate"] = false;
    values["file"] = IntentFile{foundation::Data(pdf), "doc.pdf", UTType("com.adobe.pdf")};
    const auto result = perform("Create Entry", values);

    const auto request = lastRequest();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.headerValues("Cookie"), std::vector<std::string>{"token=t0k"});
    EXPECT_EQ(request.body, encodedForm(boundaryOf(request),
                                        entryForm("12", "false", "true",
                                                  {{"block0", "Hello\r\nworld"},
                                                   {"block1", pdf, "doc.pdf", "application/pdf"}})));
    // The reply's own journal is not the entity's.
    ASSERT_TRUE(result.value);
    const auto entry = IntentEntryAppEntity::fromValue(*result.value);
    EXPECT_EQ(entry.id(), 345);
    EXPECT_EQ(entry.journalId(), 12);
    EXPECT_EQ(result.value->display.title, "Entry #345");
}

TEST_F(ServerActionsTest, CreateEntryLeftAsItIsSendsOneEmptyBlockPublicOnNoStreak) {
    perform("Create Entry", createEntryValues(""));
    const auto request = lastRequest();
    EXPECT_EQ(request.body, encodedForm(boundaryOf(request), entryForm("12", "true", "true", {{"block0", ""}})));
}

TEST_F(ServerActionsTest, CreateEntrySendsAFileOfNoKnownTypeAsPNG) {
    const struct {
        std::optional<UTType> type;
        const char* mimeType;
    } rows[] = {
        {UTType("com.adobe.pdf"), "application/pdf"},
        {UTType("public.jpeg"), "image/jpeg"},
        {UTType::item(), "image/png"},
        {UTType("com.example.made-up"), "image/png"},
        {std::nullopt, "image/png"},
    };
    for (const auto& row : rows) {
        IntentValues values = createEntryValues("n");
        values["file"] = IntentFile{foundation::Data("bytes"), "f", row.type};
        perform("Create Entry", values);
        const auto request = lastRequest();
        EXPECT_EQ(request.body, encodedForm(boundaryOf(request),
                                            entryForm("12", "true", "true",
                                                      {{"block0", "n"}, {"block1", "bytes", "f", row.mimeType}})))
            << row.mimeType;
    }
}

TEST_F(ServerActionsTest, CreateEntryReadsTheJournalIdentifierAsAnInteger) {
    const struct {
        const char* identifier;
        const char* sent;
    } rows[] = {{"+5", "5"}, {"007", "7"}, {"-3", "-3"}};
    for (const auto& row : rows) {
        IntentValues values = createEntryValues("n");
        values["journal"] = IntentJournalAppEntity{row.identifier, "J"}.entityValue();
        const auto result = perform("Create Entry", values);
        const auto request = lastRequest();
        EXPECT_EQ(request.body, encodedForm(boundaryOf(request), entryForm(row.sent, "true", "true", {{"block0", "n"}})));
        EXPECT_EQ(IntentEntryAppEntity::fromValue(*result.value).journalId(), std::stoll(row.sent));
    }
    const auto sent = requestsTo("/entries/create");
    for (const char* identifier : {"", "x12", "1 2"}) {
        IntentValues values = createEntryValues("n");
        values["journal"] = IntentJournalAppEntity{identifier, "J"}.entityValue();
        EXPECT_EQ(failureOf("Create Entry", values),
                  "Action could not be completed: No journal has the identifier \"" + std::string(identifier) + "\".");
    }
    EXPECT_EQ(requestsTo("/entries/create"), sent);
}

TEST_F(ServerActionsTest, AddMetricDataSendsTheEntitysUnitWithAFreshIdEachRun) {
    // The cached metric has another unit now: the one the entity carries is sent.
    User user;
    user.metrics = std::vector<Metric>{{weightId, "Weight", "lb", std::nullopt}};
    AppGroupDefaults::shared().saveUser(user);

    std::vector<std::string> ids;
    for (const double value : {70.5, 70.5, 0.0, -2.5}) {
        EXPECT_FALSE(perform("Add Metric Data to Entry", metricValues(value)).value);
        const auto request = lastRequest();
        EXPECT_EQ(request.target, "/metric-data");
        EXPECT_EQ(request.headerValues("Cookie"), std::vector<std::string>{"token=t0k"});
        const std::string prefix = R"({"id":")";
        ASSERT_TRUE(request.body.starts_with(prefix)) << request.body;
        const std::string id = request.body.substr(prefix.size(), 36);
        ids.push_back(id);
        const MetricData expected{.id = *foundation::UUID::fromString(id), .unit = "kg", .value = value,
                                  .metricId = weightId, .entryId = 57};
        EXPECT_EQ(request.body, std::string(foundation::JSONEncoder().encode(expected).view()));
    }
    EXPECT_NE(ids[0], ids[1]);
}

TEST_F(ServerActionsTest, SetQuietModeSendsTheValueEachTimeAndLeavesTheCachedUser) {
    User cached;
    cached.username = "ann";
    cached.quietMode = true;
    AppGroupDefaults::shared().saveUser(cached);
    const auto before = AppGroupDefaults::shared().cachedUserJSON();

    const struct {
        IntentValues values;
        const char* body;
    } rows[] = {
        {{}, R"({"quietMode":true})"},
        {{{"quietMode", false}}, R"({"quietMode":false})"},
        {{{"quietMode", false}}, R"({"quietMode":false})"},
    };
    const auto sent = requestsTo("/users");
    for (const auto& row : rows) {
        EXPECT_FALSE(perform("Set Quiet Mode", row.values).value);
        EXPECT_EQ(lastRequest().body, row.body);
    }
    EXPECT_EQ(requestsTo("/users"), sent + 3);
    EXPECT_EQ(AppGroupDefaults::shared().cachedUserJSON(), before);
}

// The actions that call the server, each with values that make it call.
struct ServerAction {
    const char* title;
    const char* path;
    IntentValues values;
};
const ServerAction serverActions[] = {
    {"Create Entry", "/entries/create", createEntryValues("n")},
    {"Add Metric Data to Entry", "/metric-data", metricValues(1.0)},
    {"Set Quiet Mode", "/users", {}},
};

TEST_F(ServerActionsTest, WithoutATokenNothingIsSent) {
    sharedDefaults().removeObject("token");
    for (const auto& action : serverActions) {
        const auto sent = requestsTo(action.path);
        EXPECT_EQ(failureOf(action.title, action.values), notAuthenticated) << action.title;
        EXPECT_EQ(requestsTo(action.path), sent) << action.title;
    }
}

TEST_F(ServerActionsTest, RefusalsReachTheUserByOneRule) {
    const struct {
        Reply reply;
        std::string text;
    } rows[] = {
        {{.status = 401, .body = R"({"message":"Session expired"})"}, notAuthenticated},
        {{.status = 401}, notAuthenticated},
        {{.status = 400, .body = R"({"message":"Journal is archived"})"}, "Action could not be completed: Journal is archived"},
        {{.status = 400, .body = R"({"message":""})"}, "Action could not be completed: "},
        {{.status = 403, .body = R"({"message":"Not yours"})"}, "Action could not be completed: Not yours"},
        {{.status = 500}, "Action could not be completed: " + std::string(KestrovaAPIError::serverError(500).what())},
        {{.status = 200, .body = "not json"},
         "Action could not be completed: " + std::string(KestrovaAPIError::decodingError().what())},
    };
    for (const auto& action : serverActions) {
        for (const auto& row : rows) {
            api().reply("POST", action.path, row.reply);
            EXPECT_EQ(failureOf(action.title, action.values), row.text) << action.title << " " << row.reply.status;
        }
        // A transfer that breaks off is told by the transport's own text.
        api().reply("POST", action.path, Reply::closingMidBody(R"({"id")", 100));
        const std::string text = failureOf(action.title, action.values);
        EXPECT_TRUE(text.starts_with("Action could not be completed: ")) << text;
        EXPECT_GT(text.size(), std::string("Action could not be completed: ").size()) << action.title;
    }
}

class OpenPublishViewTest : public actionstest::ActionsTest {
protected:
    void SetUp() override {
        ActionsTest::SetUp();
        effects().clear();
        catalogue_.setOpenApplication([] { effects().record("application brought forward"); });
    }
    static headless::HeadlessEffects& effects() { return headless::HeadlessBackend::installed().effects(); }

    static Journal journal(std::int64_t id) {
        Journal made;
        made.id = id;
        made.title = "Run";
        made.slug = "run";
        return made;
    }
    static void cacheJournals(std::vector<Journal> journals) {
        User user;
        user.username = "ann";
        user.journals = std::move(journals);
        AppGroupDefaults::shared().saveUser(user);
    }
};

TEST_F(OpenPublishViewTest, OpensTheLinkOfACachedJournalOnly) {
    const std::string opened = "workspace opened: " + journal(12).createEntryURL()->absoluteString();
    enum class Cache { journals, nothing, undecodable };
    const struct {
        const char* what;
        std::optional<std::string> identifier;
        Cache cache;
        std::vector<std::string> lines;
    } rows[] = {
        {"no journal", std::nullopt, Cache::journals, {}},
        {"journal 12", "12", Cache::journals, {opened}},
        {"a sign", "+12", Cache::journals, {opened}},
        {"leading zeros", "0012", Cache::journals, {opened}},
        {"a journal no longer cached", "13", Cache::journals, {}},
        {"an empty identifier", "", Cache::journals, {}},
        {"no integer", "twelve", Cache::journals, {}},
        {"nothing cached", "12", Cache::nothing, {}},
        {"an undecodable cache", "12", Cache::undecodable, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        signOut();
        if (row.cache == Cache::journals) {
            cacheJournals({journal(7), journal(12)});
        } else if (row.cache == Cache::undecodable) {
            sharedDefaults().set(foundation::Data("{}"), "user");
        }
        effects().clear();
        IntentValues values;
        if (row.identifier) {
            values["journal"] = IntentJournalAppEntity{*row.identifier, "🏃 Run"}.entityValue();
        }
        EXPECT_FALSE(perform("Open Publish View", values).value);
        std::vector<std::string> lines{"application brought forward"};
        lines.insert(lines.end(), row.lines.begin(), row.lines.end());
        EXPECT_EQ(effects().lines(), lines);
    }
}

class ActionTextsTest : public actionstest::ActionsTest {};

TEST_F(ActionTextsTest, SummariesAndPredictionsFollowTheValues) {
    IntentValues withFile = createEntryValues("Hello");
    withFile["file"] = IntentFile{foundation::Data("x"), "photo.png", std::nullopt};
    const struct {
        const char* title;
        IntentValues values;
        std::string summary;
        std::vector<DisplayRepresentation> predictions;
    } rows[] = {
        {"Create Entry", createEntryValues("Hello"), "Publish Hello to 🏃 Run.",
         {{"Publish Hello to 🏃 Run", ""}, {"Publish Hello to 🏃 Run", ""}}},
        {"Create Entry", withFile, "Publish Hello to 🏃 Run with photo.png.",
         {{"Publish Hello to 🏃 Run", ""}, {"Publish Hello to 🏃 Run", ""}}},
        {"Add Metric Data to Entry", metricValues(70.5), "Add Metric Weight with value 70.5 to Entry #57", {}},
        {"Set Quiet Mode", {}, "Turn Quiet Mode On", {{"Turn Quiet Mode On", ""}}},
        {"Set Quiet Mode", {{"quietMode", false}}, "Turn Quiet Mode Off", {{"Turn Quiet Mode Off", ""}}},
        {"Open Publish View", {}, "Open the publish view.", {{"Open the publish view.", ""}}},
        {"Open Publish View", {{"journal", runJournal}}, "Open the publish view for 🏃 Run.",
         {{"Open the publish view for 🏃 Run.", ""}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.summary);
        EXPECT_EQ(catalogue_.summary(row.title, row.values), row.summary);
        EXPECT_EQ(catalogue_.predictions(row.title, row.values), row.predictions);
    }
    const auto* createEntry = catalogue_.intent("Create Entry");
    ASSERT_NE(createEntry, nullptr);
    EXPECT_EQ(createEntry->summary.chosen(*catalogue_.make("Create Entry", withFile)).listed,
              (std::vector<std::string>{"isPrivate", "isPartOfStreak"}));
    EXPECT_EQ(createEntry->summary.chosen(*catalogue_.make("Create Entry", {})).listed,
              (std::vector<std::string>{"file", "isPrivate", "isPartOfStreak"}));
}

TEST_F(ActionTextsTest, ActionsAskForTheirRequiredValuesAndSucceedTheirIntents) {
    const struct {
        const char* title;
        std::optional<std::string> intentClassName;
        bool openAppWhenRun;
        std::vector<std::pair<std::string, std::optional<std::string>>> asked;
    } rows[] = {
        {"Create Entry", "CreateEntryIntent", false,
         {{"journal", "To which Journal do you want to publish?"}, {"notes", "Please enter the notes of your entry."}}},
        {"Add Metric Data to Entry", std::nullopt, false,
         {{"metric", "Please choose which entry should get added to the entry."},
          {"entry", std::nullopt},
          {"value", "Please enter the value of the Metric that should get added to the entry."}}},
        {"Set Quiet Mode", "SetQuietModeIntent", false, {}},
        {"Open Publish View", "OpenPublishViewIntent", true, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.title);
        const auto* intent = catalogue_.intent(row.title);
        ASSERT_NE(intent, nullptr);
        EXPECT_EQ(intent->metadata.intentClassName, row.intentClassName);
        EXPECT_EQ(intent->metadata.openAppWhenRun, row.openAppWhenRun);
        std::vector<std::pair<std::string, std::optional<std::string>>> asked;
        for (const auto& parameter : intent->parameters) {
            if (parameter.isRequired && !parameter.defaultValue) {
                asked.emplace_back(parameter.name, parameter.options.requestDialog);
            }
        }
        EXPECT_EQ(asked, row.asked);
        if (row.asked.empty()) {
            continue;
        }
        // Run without values, it asks for the first of them.
        try {
            perform(row.title, {});
            ADD_FAILURE() << "ran without its values";
        } catch (const appintents::MissingParameter& missing) {
            EXPECT_EQ(missing.parameter(), row.asked.front().first);
            EXPECT_EQ(missing.requestDialog(), row.asked.front().second);
        }
    }
    const auto* createEntry = catalogue_.intent("Create Entry");
    EXPECT_EQ(createEntry->parameters[3].options.description,
              "Select if the entry will count towards your journa's streak.");
    EXPECT_EQ(createEntry->parameters[4].options.supportedTypeIdentifiers, std::vector<std::string>{"public.item"});
    EXPECT_EQ(catalogue_.entityDisplayName("IntentEntryAppEntity"), "Entry");
}

}  // namespace
}  // namespace kestrova
