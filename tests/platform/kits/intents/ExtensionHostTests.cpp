// The host's side of an extension process, with processes that are no
// extension: what it reports when the other side is not there to answer.

#include "platform/kits/intents/ExtensionError.hpp"
#include "platform/kits/intents/ExtensionHost.hpp"
#include "platform/kits/intents/ExtensionTimeout.hpp"
#include "platform/kits/intents/Selector.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>

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

// Processes that never answer, so each case ends by the bound whatever the
// machine's speed.
TEST(ExtensionHostTest, StopsAnExtensionThatDoesNotAnswerWithinTheBound) {
    auto plain = std::make_shared<PlainIntent>();
    // More than a socket's buffers hold, so that the request itself waits
    // for a reader.
    auto large = std::make_shared<PlainIntent>();
    large->setParameterValue("notes", ParameterValue(std::string(16 * 1024 * 1024, 'n')));
    struct Case {
        std::string label;
        std::vector<std::string> command;
        std::shared_ptr<Intent> intent;
        bool handles;
        std::string selector;
    };
    const std::vector<Case> cases = {
        {"it reads each request and says nothing", {"/bin/sh", "-c", "while read line; do :; done"}, plain, true,
         "handleCreateEntry:completion:"},
        // What it prints is its output, no answer.
        {"it prints but never answers", {"/bin/sh", "-c", "while read line; do echo working; done"}, plain, false,
         "resolveNotesForCreateEntry:withCompletion:"},
        {"it reads nothing", {"/bin/sh", "-c", "exec sleep 3600"}, large, false,
         "resolveNotesForCreateEntry:withCompletion:"},
    };
    // The bound of the other kind of step is never reached.
    constexpr std::chrono::seconds bound{1};
    constexpr std::chrono::seconds never{3600};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ExtensionHost host(c.command, nullptr,
                           {.query = c.handles ? never : bound, .handling = c.handles ? bound : never});
        try {
            if (c.handles) {
                (void)host.handle(c.intent);
            } else {
                (void)host.resolve(c.intent, "notes");
            }
            ADD_FAILURE() << "answered";
        } catch (const ExtensionTimeout& timeout) {
            EXPECT_EQ(timeout.selector(), c.selector);
            EXPECT_EQ(timeout.bound(), bound);
            EXPECT_THAT(timeout.what(), HasSubstr("did not answer " + c.selector + " within 1 s"));
        }
        EXPECT_EQ(host.finish(), 128 + SIGKILL) << "the extension was not stopped";
        EXPECT_THROW((void)host.handle(plain), ExtensionError);
    }
}

TEST(ExtensionHostTest, StopsAnExtensionThatDoesNotEndOnceItsInputHasEnded) {
    ExtensionHost host({"/bin/sh", "-c", "exec sleep 3600"}, nullptr, {.query = std::chrono::seconds(1)});
    EXPECT_EQ(host.finish(), 128 + SIGKILL);
}

}  // namespace
}  // namespace intents
