#include "tools/widgethost/PlacementStore.hpp"

#include "kestrova/intents/IntentSchema.hpp"
#include "tests/support/ScopedFileSizeLimit.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

namespace {

using ::testing::HasSubstr;
using widgetkit::WidgetFamily;

std::vector<std::string> namesIn(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& each : std::filesystem::directory_iterator(directory)) {
        names.push_back(each.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

class PlacementStoreTest : public ::testing::Test {
protected:
    void SetUp() override { kestrova::registerIntentSchema(); }

    std::vector<widgethost::Placement> placed() const {
        return {{"DailyWidget", WidgetFamily::systemLarge, nullptr},
                {"JournalWidget", WidgetFamily::systemSmall, widgethost::journalConfiguration("7", "🏃 Workout")}};
    }

    testsupport::ScratchDirectory scratch_;
    std::ostringstream errors_;
    widgethost::PlacementStore store_{scratch_ / "widgets", errors_};
};

TEST_F(PlacementStoreTest, KeepsThePlacedWidgetsWithTheirJournalAndTheReloadCount) {
    EXPECT_FALSE(store_.placements()) << "nothing stored yet";
    EXPECT_EQ(store_.reloadCount(), 0u);

    store_.savePlacements(placed());
    store_.saveReloadCount(41);

    const auto read = store_.placements();
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[0].kind, "DailyWidget");
    EXPECT_EQ((*read)[0].family, WidgetFamily::systemLarge);
    EXPECT_EQ((*read)[0].configuration, nullptr);
    EXPECT_EQ((*read)[1].family, WidgetFamily::systemSmall);
    ASSERT_NE((*read)[1].configuration, nullptr);
    ASSERT_NE((*read)[1].configuration->journal(), nullptr);
    EXPECT_EQ((*read)[1].configuration->journal()->identifier(), "7");
    EXPECT_EQ((*read)[1].configuration->journal()->displayString(), "🏃 Workout");
    EXPECT_EQ(store_.reloadCount(), 41u);
    EXPECT_EQ(namesIn(store_.directory()), (std::vector<std::string>{"placements", "reload-count"}));
    EXPECT_EQ(errors_.str(), "");
}

TEST_F(PlacementStoreTest, ADamagedFileIsSaidAndReadAsNothingStored) {
    const std::pair<const char*, const char*> cases[] = {
        {"no JSON", "{\"widgets\":["},
        {"an unknown family", R"({"widgets":[{"kind":"DailyWidget","family":"systemHuge"}]})"},
        {"a kind of the wrong type", R"({"widgets":[{"kind":3,"family":"systemSmall"}]})"},
        {"an archive of an unknown class",
         R"({"widgets":[{"kind":"JournalWidget","family":"systemSmall","configuration":{"$class":"Bomb"}}]})"},
    };
    std::filesystem::create_directories(store_.directory());
    for (const auto& [label, text] : cases) {
        SCOPED_TRACE(label);
        errors_.str("");
        scratch_.write("widgets/placements", text);
        EXPECT_FALSE(store_.placements());
        EXPECT_THAT(errors_.str(), HasSubstr("placements is damaged"));
        EXPECT_THAT(errors_.str(), HasSubstr("starting from the defaults"));
    }
    scratch_.write("widgets/reload-count", "many\n");
    EXPECT_EQ(store_.reloadCount(), 0u);
}

TEST_F(PlacementStoreTest, AFailedWriteKeepsThePreviousFileAndLeavesNoStrayFile) {
    store_.savePlacements(placed());
    const auto before = testsupport::ScratchDirectory::read(store_.directory() / "placements");
    std::vector<widgethost::Placement> many(2000, {"DailyWidget", WidgetFamily::systemSmall, nullptr});
    {
        // Far less than the many widgets take.
        const testsupport::ScopedFileSizeLimit full(before.size() + 16);
        EXPECT_THROW(store_.savePlacements(many), std::system_error);
    }
    EXPECT_EQ(testsupport::ScratchDirectory::read(store_.directory() / "placements"), before);
    EXPECT_EQ(namesIn(store_.directory()), std::vector<std::string>{"placements"});

    if (::geteuid() != 0) {
        ::chmod(store_.directory().c_str(), 0500);
        EXPECT_THROW(store_.savePlacements(many), std::system_error);
        EXPECT_THROW(store_.saveReloadCount(3), std::system_error);
        ::chmod(store_.directory().c_str(), 0700);
        EXPECT_EQ(testsupport::ScratchDirectory::read(store_.directory() / "placements"), before);
        EXPECT_EQ(namesIn(store_.directory()), std::vector<std::string>{"placements"});
    }
}

}  // namespace
