#include "kestrova/model/SharedDefaults.hpp"

#include "kestrova/model/AppGroupDefaults.hpp"
#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"

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
