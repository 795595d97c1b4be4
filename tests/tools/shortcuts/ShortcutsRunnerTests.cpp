// The runner as a user runs it: a process that starts the intents extension,
// with the shared defaults of a temporary app group and the loopback server
// as the API.

#include "platform/runtime/foundation/defaults/AppGroup.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/kits/widgetkit/ReloadRequests.hpp"
#include "tests/support/LocalDayText.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/MultipartForm.hpp"
#include "tests/support/ScopedAppGroupDirectory.hpp"
#include "tests/support/ScopedEnvironment.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/Subprocess.hpp"
#include "tests/support/SuiteDamage.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

#include <cerrno>
#include <filesystem>

namespace {

using ::testing::HasSubstr;
using testsupport::Subprocess;
using testsupport::todayText;

constexpr std::string_view storedUser =
    R"({"id":1,"username":"ann","journals":[{"id":3,"title":"Music","isDaily":false},)"
    R"({"id":7,"title":"Workout","isDaily":true,"iconEmoji":"🏃"}]})";

class ShortcutsRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        environment_.set("KESTROVA_API_BASE_URL", server_.url(""));
        suite_.set(std::string("t0k"), "token");
        suite_.set(foundation::Data(storedUser), "user");
    }

    static Subprocess::Outcome shortcuts(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), KESTROVA_SHORTCUTS_TOOL);
        return Subprocess::run(arguments);
    }

    testsupport::ScopedAppGroupDirectory directory_;
    testsupport::ScopedEnvironment environment_;
    testsupport::LoopbackServer server_;
    foundation::UserDefaults suite_{foundation::AppGroup::identifier()};
    testsupport::ScratchDirectory files_;
};

TEST_F(ShortcutsRunnerTest, CreatesAnEntryThroughTheExtension) {
    server_.reply("POST", "/entries", {.status = 201, .body = R"({"id":5})"});
    const auto run = shortcuts({"run", "create-entry", "--journal", "7", "--notes", "Hello", "--private", "true"});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.output,
              "options of journal:\n"
              "  Today\n"
              "    \"🏃 Workout\" (7)\n"
              "  Not Today\n"
              "    \"Music\" (3)\n"
              "resolve journal: success \"🏃 Workout\" (7)\n"
              "resolve notes: success \"Hello\"\n"
              "resolve isPrivate: success true\n"
              "response: success (4)\n");
    ASSERT_EQ(server_.requests().size(), 1u);
    const auto request = server_.requests().front();
    EXPECT_EQ(request.target, "/entries");
    EXPECT_EQ(request.header("Cookie"), "token=t0k");
    EXPECT_EQ(request.body, testsupport::encodedForm(testsupport::boundaryOf(request), {{"notes", "Hello"},
                                                                                        {"streakDate", todayText()},
                                                                                        {"journal_id", "7"},
                                                                                        {"private", "true"},
                                                                                        {"file", ""}}));
    EXPECT_EQ(widgetkit::ReloadRequests::count(), 1u) << "a published entry asks the widget host to reload";
}

TEST_F(ShortcutsRunnerTest, AttachesAFileByItsPath) {
    server_.reply("POST", "/entries", {.status = 201});
    const auto path = files_.write("note.txt", "from disk");
    const auto run = shortcuts({"run", "create-entry", "--journal", "3", "--notes", "", "--private", "false", "--file",
                                path.string(), "--type", "public.plain-text"});
    EXPECT_EQ(run.exitCode, 0) << run.output << run.errors;
    ASSERT_EQ(server_.requests().size(), 1u);
    EXPECT_THAT(server_.requests().front().body,
                HasSubstr("name=\"file\"; filename=\"note.txt\"\r\nContent-Type: public.plain-text\r\n\r\nfrom disk\r\n"));
}

TEST_F(ShortcutsRunnerTest, ReportsARefusedEntryAsAFailure) {
    server_.reply("POST", "/entries", {.status = 500, .body = R"({"message":"Journal is archived."})"});
    const auto run = shortcuts({"run", "create-entry", "--journal", "7", "--notes", "Hello", "--private", "false"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.output,
                HasSubstr("The entry was not published: the server answered with status 500: Journal is archived.\n"
                          "response: failure (5)\n"));
    EXPECT_THAT(run.errors, HasSubstr("CreateEntryIntent failed with the response code failure (5)"));
    EXPECT_EQ(widgetkit::ReloadRequests::count(), 0u);
}

TEST_F(ShortcutsRunnerTest, TakesTheDefaultJournalOrStopsForAMissingValue) {
    const auto configured = shortcuts({"run", "select-journal"});
    EXPECT_EQ(configured.exitCode, 0) << configured.errors;
    EXPECT_THAT(configured.output, HasSubstr("default journal: \"🏃 Workout\" (7)\nresponse: success (4)\n"));

    suite_.removeObject("user");
    const auto unresolved = shortcuts({"run", "open-publish-view"});
    EXPECT_EQ(unresolved.exitCode, 1);
    EXPECT_THAT(unresolved.output, HasSubstr("resolve journal: needsValue\n"));
    EXPECT_THAT(unresolved.errors, HasSubstr("journal was not resolved (needsValue)"));
    EXPECT_TRUE(server_.requests().empty());
}

TEST_F(ShortcutsRunnerTest, SetsQuietMode) {
    server_.reply("POST", "/users", {.status = 200, .body = R"({"id":1,"quietMode":true})"});
    const auto run = shortcuts({"run", "set-quiet-mode", "--quiet-mode", "true"});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.output, "resolve quietMode: success true\nresponse: success (4)\n");
    ASSERT_EQ(server_.requests().size(), 1u);
    EXPECT_EQ(server_.requests().front().body, R"({"quietMode":true})");
}

TEST_F(ShortcutsRunnerTest, RefusesCommandLinesItCannotUnderstandAndHelpsWhenAsked) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"run"},
        {"run", "make-coffee"},
        {"run", "create-entry", "--quiet-mode", "true"},
        {"run", "create-entry", "--private", "maybe"},
        {"run", "create-entry", "--notes"},
        {"run", "create-entry", "--file", "/nonexistent/file"},
        {"run", "set-quiet-mode", "--timeout", "0"},
        {"run", "set-quiet-mode", "--timeout", "1.5"},
        {"run", "set-quiet-mode", "--timeout", "soon"},
        {"run", "set-quiet-mode", "--timeout", "86401"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        const auto run = shortcuts(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_THAT(run.errors, HasSubstr("usage: shortcuts run INTENT"));
    }
    EXPECT_TRUE(server_.requests().empty());
    for (const char* help : {"--help", "-h", "help"}) {
        SCOPED_TRACE(help);
        const auto run = shortcuts({help});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_THAT(run.output, HasSubstr("usage: shortcuts run INTENT"));
        EXPECT_EQ(run.errors, "");
    }
}

TEST_F(ShortcutsRunnerTest, AStoredFaultFailsTheIntentWithTheReasonAndLeavesTheSuiteAsItWas) {
    struct Case {
        std::string label;
        std::vector<std::string> arguments;
        std::string token;
        std::optional<testsupport::SuiteDamage> damage;
        std::string output;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"a token that would forge a header",
         {"run", "create-entry", "--journal", "7", "--notes", "Hello", "--private", "true"},
         "t0k\r\nX-Forged: 1",
         std::nullopt,
         "resolve isPrivate: success true\nresponse: failure (5)\n",
         "orvane: the entry cannot be sent: the token stored in"},
        {"a suite with damaged pages",
         {"run", "set-quiet-mode", "--quiet-mode", "true"},
         "t0k",
         testsupport::SuiteDamage::damagedPages,
         "resolve quietMode: success true\nresponse: failure (5)\n",
         "orvane: quiet mode cannot be set: cannot read \"token\""},
        {"a file that is no database",
         {"run", "select-journal"},
         "t0k",
         testsupport::SuiteDamage::notADatabase,
         "",
         "shortcuts: the extension could not provide the options of journal: cannot open the defaults database"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const testsupport::ScopedAppGroupDirectory directory;
        const auto file = foundation::UserDefaults::databaseFile(foundation::AppGroup::identifier());
        {
            foundation::UserDefaults suite(foundation::AppGroup::identifier());
            suite.set(c.token, "token");
            suite.set(foundation::Data(storedUser), "user");
        }
        const std::string contents =
            c.damage ? testsupport::damageSuite(file, *c.damage) : testsupport::ScratchDirectory::read(file);
        const auto run = shortcuts(c.arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_THAT(run.output, ::testing::EndsWith(c.output));
        EXPECT_THAT(run.errors, HasSubstr(c.reason));
        EXPECT_THAT(run.errors, HasSubstr(file.string()));
        EXPECT_TRUE(server_.requests().empty());
        EXPECT_TRUE(testsupport::ScratchDirectory::read(file) == contents) << "the suite's file was changed";
    }
}

// The fake extension reads every request and never answers, so the run ends
// by the bound however loaded the machine is.
TEST_F(ShortcutsRunnerTest, GivesUpOnAnExtensionThatDoesNotAnswerAndStopsIt) {
    const auto fake =
        files_.write("silent-extension", "#!/bin/sh\necho $$ > \"$0.pid\"\nwhile read line; do :; done\n");
    std::filesystem::permissions(fake, std::filesystem::perms::owner_all);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"run", "set-quiet-mode", "--quiet-mode", "true"}, "the resolve request of quietMode"},
        {{"run", "select-journal"}, "the options request of journal"},
    };
    for (const auto& [arguments, step] : cases) {
        SCOPED_TRACE(step);
        std::filesystem::remove(fake.string() + ".pid");
        auto command = arguments;
        command.insert(command.end(), {"--extension", fake.string(), "--timeout", "1"});
        const auto run = shortcuts(command);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.errors, "shortcuts: silent-extension did not answer " + step + " within 1 s\n");
        // Stopped before it even began, or stopped since: it runs no more.
        if (std::filesystem::exists(fake.string() + ".pid")) {
            const pid_t pid = std::stoi(testsupport::ScratchDirectory::read(fake.string() + ".pid"));
            EXPECT_EQ(::kill(pid, 0), -1) << "the extension still runs";
            EXPECT_EQ(errno, ESRCH);
        }
    }
    EXPECT_TRUE(server_.requests().empty());
}

}  // namespace
