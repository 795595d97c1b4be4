#include "platform/kits/appstorage/AppStorage.hpp"

#include "platform/runtime/combine/AnyCancellable.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"
#include "tests/support/CapturedOutput.hpp"
#include "tests/support/SuiteDamage.hpp"
#include "tests/support/ScopedAppGroupDirectory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

class Settings final : public combine::ObservableObject {
public:
    explicit Settings(foundation::UserDefaults& store)
        : flag(*this, store, "flag", true), zoom(*this, store, "zoom", 1.0) {}

    ui::AppStorage<bool> flag;
    ui::AppStorage<double> zoom;
};

class AppStorageTest : public testing::Test {
protected:
    void SetUp() override {
        store_.removeObject("flag");
        store_.removeObject("zoom");
    }

    foundation::UserDefaults store_{"appstorage-tests"};
    Settings settings_{store_};
};

TEST_F(AppStorageTest, AnAbsentKeyReadsAsTheDefaultWhichIsNeverWritten) {
    EXPECT_TRUE(settings_.flag.get());
    EXPECT_EQ(settings_.zoom.get(), 1.0);
    EXPECT_EQ(store_.object("flag"), std::nullopt);
    EXPECT_EQ(store_.object("zoom"), std::nullopt);
}

TEST_F(AppStorageTest, AssigningTellsObserversFirstThenStoresAtOnce) {
    std::vector<std::optional<foundation::DefaultsValue>> storedWhenTold;
    const combine::AnyCancellable observation =
        settings_.objectWillChange().sink([&] { storedWhenTold.push_back(store_.object("zoom")); });

    settings_.zoom = 1.5;
    settings_.zoom = 1.5;  // the same value again is another write, and another notice

    ASSERT_EQ(storedWhenTold.size(), 2u);
    EXPECT_EQ(storedWhenTold[0], std::nullopt);
    EXPECT_EQ(storedWhenTold[1], foundation::DefaultsValue(1.5));
    EXPECT_EQ(store_.object("zoom"), foundation::DefaultsValue(1.5));
    // Another handle on the suite, such as a later launch, reads what was stored.
    EXPECT_EQ(Settings(store_).zoom.get(), 1.5);
}

TEST_F(AppStorageTest, StoredValuesOfOtherKindsReadAsTheSettingsKindOrTheDefault) {
    struct Case {
        const char* what;
        foundation::DefaultsValue stored;
        bool flag;
        double zoom;
    };
    const std::vector<Case> cases = {
        {"a Boolean", false, false, 0.0},
        {"an integer", std::int64_t{2}, true, 2.0},
        {"zero", std::int64_t{0}, false, 0.0},
        {"a double", 0.75, true, 0.75},
        {"a text, which no setting reads", std::string("false"), true, 1.0},
        {"data", foundation::Data("1"), true, 1.0},
    };
    for (const auto& c : cases) {
        store_.set(c.stored, "flag");
        store_.set(c.stored, "zoom");
        EXPECT_EQ(settings_.flag.get(), c.flag) << c.what;
        EXPECT_EQ(settings_.zoom.get(), c.zoom) << c.what;
    }
}

TEST_F(AppStorageTest, TheBindingReadsAndWritesTheSetting) {
    const ui::Binding<bool> binding = settings_.flag.binding();
    EXPECT_TRUE(binding.get());
    binding.set(false);
    EXPECT_FALSE(settings_.flag.get());
    EXPECT_EQ(store_.object("flag"), foundation::DefaultsValue(false));
    store_.set(true, "flag");
    EXPECT_TRUE(binding.get());
}

TEST_F(AppStorageTest, AValueTheSuiteRefusesLeavesTheStoredOne) {
    settings_.zoom = 2.0;
    EXPECT_THROW(settings_.zoom = std::numeric_limits<double>::quiet_NaN(), foundation::UserDefaultsError);
    EXPECT_EQ(settings_.zoom.get(), 2.0);
}

// Settings are read from toolkit callbacks (a menu, a click, a page's message), where an exception
// would end the program: a suite that cannot be read answers each setting's default instead, and
// says so once per key on standard error. Writing still fails, as the caller is told.
TEST(AppStorageOfAnUnreadableSuiteTest, EverySettingReadsAsItsDefaultSaidOncePerKeyAndWritesStillFail) {
    const testsupport::ScopedAppGroupDirectory directory;
    const std::string name = "damaged-settings";
    {
        foundation::UserDefaults store(name);
        store.set(false, "flag");
        store.set(2.0, "zoom");
    }
    testsupport::damageSuite(foundation::UserDefaults::databaseFile(name), testsupport::SuiteDamage::damagedPages);
    foundation::UserDefaults store(name);
    Settings settings(store);

    std::string errors;
    {
        const testsupport::CapturedOutput standardError(2);
        EXPECT_TRUE(settings.flag.get());
        EXPECT_TRUE(settings.flag.binding().get());
        EXPECT_EQ(settings.zoom.get(), 1.0);
        EXPECT_EQ(settings.zoom.get(), 1.0);
        EXPECT_THROW(settings.flag = false, foundation::UserDefaultsError);
        errors = standardError.text();
    }
    std::vector<std::string> lines;
    std::istringstream stream(errors);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    using testing::AllOf;
    using testing::HasSubstr;
    EXPECT_THAT(lines, testing::ElementsAre(AllOf(HasSubstr("\"flag\""), HasSubstr("database disk image is malformed")),
                                            AllOf(HasSubstr("\"zoom\""), HasSubstr("database disk image is malformed"))))
        << errors;
}

}  // namespace
