#include "kestrova/model/SharedDefaults.hpp"

#include "kestrova/model/AppGroupDefaults.hpp"
#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "tests/support/Subprocess.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace kestrova {
namespace {

// The suite is the process's one shared suite, so each test starts by
// clearing the keys it uses.
class SharedDefaultsTest : public testing::Test {
protected:
    void SetUp() override {
        sharedDefaults().removeObject("user");
        sharedDefaults().removeObject("token");
    }

    AppGroupDefaults defaults{sharedDefaults()};

    static User userWithJournal() {
        User user;
        user.id = 42;
        user.username = "ann";
        Journal journal;
        journal.id = 7;
        journal.title = "Morning pages";
        journal.slug = "morning-pages";
        journal.lastEntryAt = foundation::Date::fromTimeIntervalSinceReferenceDate(60.0);
        user.journals = std::vector<Journal>{journal};
        return user;
    }
};

TEST_F(SharedDefaultsTest, TheProcessHasOneSuiteAndTheTokenIsTextInIt) {
    EXPECT_EQ(&sharedDefaults(), &openSharedDefaults());
    defaults.setToken("t0ken");
    EXPECT_EQ(sharedDefaults().string("token"), "t0ken");
    sharedDefaults().set(foundation::Data("t0ken"), "token");  // data, not text
    EXPECT_EQ(defaults.token(), std::nullopt);
}

TEST_F(SharedDefaultsTest, NothingCachedIsNoUser) {
    EXPECT_EQ(defaults.loadUser(), std::nullopt);
    sharedDefaults().set(std::string(R"({"id":1,"username":"a"})"), "user");  // text, not data
    EXPECT_EQ(defaults.loadUser(), std::nullopt);
}

TEST_F(SharedDefaultsTest, UndecodableBytesThrowAndStayStored) {
    sharedDefaults().set(foundation::Data("{}"), "user");
    EXPECT_THROW(static_cast<void>(defaults.loadUser()), foundation::DecodingError);
    EXPECT_EQ(sharedDefaults().data("user"), foundation::Data("{}"));
}

TEST_F(SharedDefaultsTest, SavedUserLoadsBackEqualWithDatesAsNumbers) {
    const User user = userWithJournal();
    defaults.saveUser(user);
    EXPECT_EQ(defaults.loadUser(), user);
    const std::string json(sharedDefaults().data("user")->view());
    EXPECT_NE(json.find(R"("last_entry_at":60)"), std::string::npos) << json;
}

TEST_F(SharedDefaultsTest, ServerDateTextInTheCacheFailsToLoad) {
    sharedDefaults().set(
        foundation::Data(
            R"({"id":1,"username":"a","journals":[{"id":7,"title":"t","description":"","slug":"s",)"
            R"("private":false,"last_entry_at":"2023-04-05T06:07:08Z"}]})"),
        "user");
    EXPECT_THROW(static_cast<void>(defaults.loadUser()), foundation::DecodingError);
}

TEST_F(SharedDefaultsTest, IconBytesAreNotCached) {
    User user = userWithJournal();
    user.journals.mutate()[0].iconImageData = foundation::Data("\x89PNG");
    defaults.saveUser(user);
    const auto loaded = defaults.loadUser();
    ASSERT_TRUE(loaded.has_value());
    EXPECT_NE(*loaded, user);
    EXPECT_FALSE((*loaded->journals)[0].iconImageData.has_value());
}

TEST_F(SharedDefaultsTest, SecondSaveReplacesTheFirstWhole) {
    defaults.saveUser(userWithJournal());
    User second;
    second.id = 2;
    second.username = "bob";
    defaults.saveUser(second);
    EXPECT_EQ(defaults.loadUser(), second);
}

TEST_F(SharedDefaultsTest, SignOutLeavesNoUser) {
    defaults.setToken("t0ken");
    defaults.saveUser(userWithJournal());
    defaults.removeToken();
    defaults.removeUser();
    EXPECT_FALSE(sharedDefaults().object("token").has_value());
    EXPECT_FALSE(sharedDefaults().object("user").has_value());
    EXPECT_EQ(defaults.loadUser(), std::nullopt);
}

// The defaults tool, another process on the same suite, as the extensions
// and a user's shell are.
void runDefaultsTool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {KESTROVA_DEFAULTS_TOOL, "-suite", sharedDefaults().suiteName()});
    const auto outcome = testsupport::Subprocess::run(arguments);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
}

std::string hexadecimal(std::string_view bytes) {
    constexpr std::string_view digits = "0123456789abcdef";
    std::string text;
    for (const char byte : bytes) {
        text += digits[static_cast<unsigned char>(byte) >> 4];
        text += digits[static_cast<unsigned char>(byte) & 0xf];
    }
    return text;
}

void writeUserFromAnotherProcess(std::string_view json) {
    runDefaultsTool({"write", "user", "-data", hexadecimal(json)});
}

User named(std::int64_t id, const char* username) {
    User user;
    user.id = id;
    user.username = username;
    return user;
}

TEST_F(SharedDefaultsTest, TheDecodedUserIsKeptUntilAnyProcessWritesOrRemovesIt) {
    defaults.saveUser(userWithJournal());
    const auto first = defaults.sharedUser();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(*first, userWithJournal());
    EXPECT_EQ(defaults.sharedUser(), first) << "decoded again though nothing changed";
    EXPECT_EQ(AppGroupDefaults::shared().loadUser(), userWithJournal());

    // Another connection of this process, as a second suite object has.
    foundation::UserDefaults sameFile(sharedDefaults().suiteName());
    AppGroupDefaults(sameFile).saveUser(named(2, "bob"));
    EXPECT_EQ(defaults.loadUser(), named(2, "bob"));

    writeUserFromAnotherProcess(R"({"id":3,"username":"cy"})");
    EXPECT_EQ(defaults.loadUser(), named(3, "cy"));
    EXPECT_EQ(defaults.sharedUser(), defaults.sharedUser());

    runDefaultsTool({"delete", "user"});
    EXPECT_EQ(defaults.sharedUser(), nullptr);
    EXPECT_EQ(defaults.loadUser(), std::nullopt);
    writeUserFromAnotherProcess(R"({"id":4,"username":"di"})");
    EXPECT_EQ(defaults.loadUser(), named(4, "di"));
}

TEST_F(SharedDefaultsTest, UndecodableBytesThrowAtEveryLoadUntilAGoodUserReplacesThem) {
    defaults.saveUser(userWithJournal());
    ASSERT_EQ(defaults.loadUser(), userWithJournal());
    writeUserFromAnotherProcess("{}");
    for (int load = 0; load < 2; ++load) {
        EXPECT_THROW(static_cast<void>(defaults.sharedUser()), foundation::DecodingError) << "load " << load;
    }
    writeUserFromAnotherProcess(R"({"id":5,"username":"ed"})");
    EXPECT_EQ(defaults.loadUser(), named(5, "ed"));
}

// A suite file of an earlier release, still written by one that knows no
// versions: every load decodes what is stored now.
TEST_F(SharedDefaultsTest, ASuiteWithoutVersionsIsReadAfreshAtEveryLoad) {
    const std::string name = "group.test.earlier";
    const auto file = foundation::UserDefaults::databaseFile(name);
    {
        foundation::UserDefaults(name).set(foundation::JSONEncoder().encode(named(6, "fay")), "user");
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(db, sqlite3_close);
    const auto execute = [db](const char* sql) {
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    };
    execute("BEGIN; DROP TRIGGER count_insert; DROP TRIGGER count_update; DROP TRIGGER count_delete; "
            "DROP TRIGGER count_rekey; DROP TABLE versions; COMMIT;");

    foundation::UserDefaults suite(name);
    const AppGroupDefaults earlier(suite);
    EXPECT_EQ(earlier.loadUser(), named(6, "fay"));
    execute(R"(UPDATE defaults SET value = CAST('{"id":7,"username":"gus"}' AS BLOB) WHERE key = 'user')");
    EXPECT_EQ(earlier.loadUser(), named(7, "gus"));
    execute("DELETE FROM defaults WHERE key = 'user'");
    EXPECT_EQ(earlier.loadUser(), std::nullopt);
}

TEST(SharedDefaultsDeathTest, UnusableSuiteStopsTheProcessNamingTheFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto directory = std::filesystem::temp_directory_path() / ("kestrova-garbage-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    const auto file = foundation::UserDefaults::databaseFile("group.example.kestrova").filename();
    std::ofstream(directory / file) << "this is not a database, and it must survive";
    EXPECT_EXIT(
        {
            setenv("KESTROVA_APP_GROUP_DIR", directory.c_str(), 1);
            sharedDefaults();
        },
        testing::ExitedWithCode(EXIT_FAILURE), "cannot open the shared defaults: .*" + file.string());
    std::ifstream kept(directory / file);
    std::string content;
    std::getline(kept, content);
    EXPECT_EQ(content, "this is not a database, and it must survive");
    std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace kestrova
