// The host's side of an extension process, with processes that are no
// extension: what it reports when the other side is not there to answer.

#include "platform/intents/ExtensionError.hpp"
#include "platform/intents/ExtensionHost.hpp"
#include "platform/intents/Selector.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace intents {
namespace {

using ::testing::HasSubstr;

class PlainIntent final : public Intent {
public:
    [[nodiscard]] std::string_view className() const override { return "CreateEntryIntent"; }
};

TEST(SelectorTest, NamesOperationsAsThePlatformSendsThem) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {Selector::handle("CreateEntryIntent"), "handleCreateEntry:completion:"},
        {Selector::confirm("SetQuietModeIntent"), "confirmSetQuietMode:completion:"},
        {Selector::resolve("CreateEntryIntent", "isPrivate"), "resolveIsPrivateForCreateEntry:withCompletion:"},
        {Selector::resolve("SetQuietModeIntent", "quietMode"), "resolveQuietModeForSetQuietMode:withCompletion:"},
        {Selector::provideOptionsCollection("SelectJournalIntent", "journal"),
         "provideJournalOptionsCollectionForSelectJournal:withCompletion:"},
        {Selector::provideOptions("OpenPublishViewIntent", "journal"),
         "provideJournalOptionsForOpenPublishView:withCompletion:"},
        {Selector::defaultValue("SelectJournalIntent", "journal"), "defaultJournalForSelectJournal:"},
    };
    for (const auto& [made, expected] : cases) {
        EXPECT_EQ(made, expected);
    }
}

TEST(ExtensionHostTest, ReportsAnExtensionThatEndsWithoutAnswering) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"/bin/true"}, "exited with status 0 before it answered"},
        {{"/bin/sh", "-c", "read line; kill -ABRT $$"}, "ended by signal 6 before it answered"},
        {{"/bin/sh", "-c", "echo printed; read line; printf last; exit 3"}, "exited with status 3 before it answered"},
    };
    for (const auto& [command, message] : cases) {
        SCOPED_TRACE(command.back());
        std::vector<std::string> printed;
        ExtensionHost host(command, [&](std::string_view line) { printed.emplace_back(line); });
        try {
            (void)host.handle(std::make_shared<PlainIntent>());
            ADD_FAILURE() << "answered";
        } catch (const ExtensionError& error) {
            EXPECT_THAT(error.what(), HasSubstr(message));
        }
        if (command.back().starts_with("echo")) {
            EXPECT_EQ(printed, (std::vector<std::string>{"printed", "last"}));
        }
    }
}

TEST(ExtensionHostTest, ReportsAnExtensionThatCannotStart) {
    EXPECT_THROW(ExtensionHost({"/nonexistent/orvane"}, nullptr), ExtensionError);
}

}  // namespace
}  // namespace intents
