// The extension process as the system runs it, over shared defaults it cannot
// use: it answers every request, says why on standard error, sends nothing,
// ends of itself once its input ends, and leaves the suite as it was.

#include "kestrova/intents/CreateEntryIntent.hpp"
#include "kestrova/intents/IntentJournal.hpp"
#include "kestrova/intents/IntentSchema.hpp"
#include "kestrova/intents/SelectJournalIntent.hpp"
#include "kestrova/intents/SetQuietModeIntent.hpp"
#include "platform/runtime/foundation/defaults/AppGroup.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/kits/intents/ExtensionError.hpp"
#include "platform/kits/intents/ExtensionHost.hpp"
#include "platform/kits/intents/IntentResponse.hpp"
#include "tests/support/CapturedOutput.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/ScopedAppGroupDirectory.hpp"
#include "tests/support/ScopedEnvironment.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/SuiteDamage.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace orvane {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using testsupport::SuiteDamage;

std::shared_ptr<kestrova::CreateEntryIntent> entryIntent() {
    auto intent = std::make_shared<kestrova::CreateEntryIntent>();
    intent->setNotes("Ran 5 km");
    intent->setJournal(std::make_shared<kestrova::IntentJournal>("7", "Workout", std::nullopt));
    intent->setIsPrivate(intents::Number(false));
    return intent;
}

std::shared_ptr<kestrova::SetQuietModeIntent> quietModeIntent() {
    auto intent = std::make_shared<kestrova::SetQuietModeIntent>();
    intent->setQuietMode(intents::Number(true));
    return intent;
}

// What the extension gave back for an option list: its sections' sizes, or
// the error it answered with.
std::string optionsOf(intents::ExtensionHost& host, const std::shared_ptr<intents::Intent>& intent) {
    try {
        std::string sizes;
        const auto options = host.provideOptions(intent, "journal");
        for (const auto& section : options->sections()) {
            sizes += std::to_string(section->items().size()) + " ";
        }
        return sizes;
    } catch (const intents::ExtensionError& error) {
        return error.what();
    }
}

class ExtensionProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        kestrova::registerIntentSchema();
        environment_.set("KESTROVA_API_BASE_URL", server_.url(""));
    }

    testsupport::LoopbackServer server_;
    testsupport::ScopedEnvironment environment_;
};

TEST_F(ExtensionProcessTest, AnswersEveryRequestOverAStoredFaultWithTheReason) {
    struct Case {
        std::string label;
        std::optional<SuiteDamage> damage;
        std::string token;
        std::string reason;
        // What the option lists come to: the sizes of their sections (a bad
        // token leaves the journals readable), or the error they answer.
        std::string options;
    };
    const std::vector<Case> cases = {
        {"a file that is no database", SuiteDamage::notADatabase, "t0k", "file is not a database",
         "the extension could not provide the options of journal: cannot open the defaults database"},
        {"damaged pages", SuiteDamage::damagedPages, "t0k", "database disk image is malformed",
         "the extension could not provide the options of journal: cannot read \"user\""},
        {"a token with a line break", std::nullopt, "t0k\r\nX-Forged: 1", "holds a line break or NUL character",
         "1 1 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const testsupport::ScopedAppGroupDirectory directory;
        const auto file = foundation::UserDefaults::databaseFile(foundation::AppGroup::identifier());
        {
            foundation::UserDefaults suite(foundation::AppGroup::identifier());
            suite.set(c.token, "token");
            suite.set(foundation::Data(R"({"id":1,"journals":[{"id":3,"title":"Music","isDaily":false},)"
                                       R"({"id":7,"title":"Workout","isDaily":true}]})"),
                      "user");
        }
        const std::string contents =
            c.damage ? testsupport::damageSuite(file, *c.damage) : testsupport::ScratchDirectory::read(file);

        const testsupport::CapturedOutput errors(2);
        intents::ExtensionHost host({KESTROVA_ORVANE_PROGRAM}, nullptr);
        EXPECT_THAT(optionsOf(host, entryIntent()), HasSubstr(c.options));
        EXPECT_THAT(optionsOf(host, std::make_shared<kestrova::SelectJournalIntent>()), HasSubstr(c.options));
        const auto fallback = host.defaultValue(std::make_shared<kestrova::SelectJournalIntent>(), "journal");
        EXPECT_EQ(fallback ? fallback->identifier() : std::nullopt,
                  c.damage ? std::nullopt : std::optional<std::string>("7"));
        EXPECT_EQ(host.handle(entryIntent())->platformCode(), 5);
        EXPECT_EQ(host.handle(quietModeIntent())->platformCode(), 5);
        EXPECT_EQ(host.finish(), 0) << "the extension did not end of itself";

        std::vector<std::string> expected = {"orvane: the entry cannot be sent: ",
                                             "orvane: quiet mode cannot be set: "};
        if (c.damage) {
            expected.insert(expected.begin(), "orvane: no default journal: ");
        }
        std::istringstream printed(errors.text());
        std::vector<std::string> lines;
        for (std::string line; std::getline(printed, line);) {
            lines.push_back(line);
        }
        ASSERT_EQ(lines.size(), expected.size()) << errors.text();
        for (std::size_t index = 0; index < lines.size(); ++index) {
            EXPECT_THAT(lines[index],
                        AllOf(StartsWith(expected[index]), HasSubstr(file.string()), HasSubstr(c.reason)));
        }
        EXPECT_TRUE(server_.requests().empty());
        EXPECT_TRUE(testsupport::ScratchDirectory::read(file) == contents) << "the suite's file was changed";
    }
}

}  // namespace
}  // namespace orvane
