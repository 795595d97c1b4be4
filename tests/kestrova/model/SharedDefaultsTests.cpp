#include "kestrova/model/SharedDefaults.hpp"

#include "platform/foundation/DecodingError.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kestrova {
namespace {

// The suite is the process's one shared suite, so each test starts by
// clearing the keys it uses.
class SharedDefaultsTest : public testing::Test {
protected:
    void SetUp() override {
        accountDefaults().removeObject("user");
        accountDefaults().removeObject("token");
    }

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

TEST_F(SharedDefaultsTest, BothHandlesAreOneSuite) {
    EXPECT_EQ(&sharedDefaults(), &accountDefaults());
    sharedDefaults().set(std::string("t0ken"), "token");
    EXPECT_EQ(accountDefaults().string("token"), "t0ken");
}

TEST_F(SharedDefaultsTest, NothingCachedIsNoUser) {
    EXPECT_EQ(loadUser(), std::nullopt);
    accountDefaults().set(std::string(R"({"id":1,"username":"a"})"), "user");  // text, not data
    EXPECT_EQ(loadUser(), std::nullopt);
}

TEST_F(SharedDefaultsTest, UndecodableBytesThrowAndStayStored) {
    accountDefaults().set(foundation::Data("{}"), "user");
    EXPECT_THROW(loadUser(), foundation::DecodingError);
    EXPECT_EQ(accountDefaults().data("user"), foundation::Data("{}"));
}

TEST_F(SharedDefaultsTest, SavedUserLoadsBackEqualWithDatesAsNumbers) {
    const User user = userWithJournal();
    saveUser(user);
    EXPECT_EQ(loadUser(), user);
    const std::string json(accountDefaults().data("user")->view());
    EXPECT_NE(json.find(R"("last_entry_at":60)"), std::string::npos) << json;
}

TEST_F(SharedDefaultsTest, ServerDateTextInTheCacheFailsToLoad) {
    accountDefaults().set(
        foundation::Data(
            R"({"id":1,"username":"a","journals":[{"id":7,"title":"t","description":"","slug":"s",)"
            R"("private":false,"last_entry_at":"2023-04-05T06:07:08Z"}]})"),
        "user");
    EXPECT_THROW(loadUser(), foundation::DecodingError);
}

TEST_F(SharedDefaultsTest, IconBytesAreNotCached) {
    User user = userWithJournal();
    user.journals.mutate()[0].iconImageData = foundation::Data("\x89PNG");
    saveUser(user);
    const auto loaded = loadUser();
    ASSERT_TRUE(loaded.has_value());
    EXPECT_NE(*loaded, user);
    EXPECT_FALSE((*loaded->journals)[0].iconImageData.has_value());
}

TEST_F(SharedDefaultsTest, SecondSaveReplacesTheFirstWhole) {
    saveUser(userWithJournal());
    User second;
    second.id = 2;
    second.username = "bob";
    saveUser(second);
    EXPECT_EQ(loadUser(), second);
}

TEST_F(SharedDefaultsTest, SignOutLeavesNoUser) {
    accountDefaults().set(std::string("t0ken"), "token");
    saveUser(userWithJournal());
    accountDefaults().removeObject("token");
    accountDefaults().removeObject("user");
    EXPECT_FALSE(accountDefaults().object("token").has_value());
    EXPECT_EQ(loadUser(), std::nullopt);
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
