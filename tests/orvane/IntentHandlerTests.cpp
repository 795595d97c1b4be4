#include "orvane/IntentHandler.hpp"

#include "kestrova/intents/IntentJournalResolutionResult.hpp"
#include "orvane/CreateEntryIntentHandler.hpp"
#include "orvane/OpenPublishViewIntentHandler.hpp"
#include "orvane/SelectJournalIntentHandler.hpp"
#include "orvane/SetQuietModeIntentHandler.hpp"
#include "tests/orvane/ExtensionFixture.hpp"

#include <gtest/gtest.h>

#include <typeindex>

namespace orvane {
namespace {

using testing::ExtensionTest;

// A class of its own that derives from a schema class.
class ShortcutCreateEntryIntent final : public kestrova::CreateEntryIntent {
public:
    [[nodiscard]] std::string_view className() const override { return "ShortcutCreateEntryIntent"; }
};

class UnknownIntent final : public intents::Intent {
public:
    [[nodiscard]] std::string_view className() const override { return "UnknownIntent"; }
};

class IntentHandlerTest : public ExtensionTest {};

TEST_F(IntentHandlerTest, MakesAFreshHandlerOfTheMatchingKindPerIntent) {
    const std::vector<std::pair<std::shared_ptr<intents::Intent>, std::type_index>> cases = {
        {std::make_shared<kestrova::CreateEntryIntent>(), typeid(CreateEntryIntentHandler)},
        {std::make_shared<kestrova::OpenPublishViewIntent>(), typeid(OpenPublishViewIntentHandler)},
        {std::make_shared<kestrova::SelectJournalIntent>(), typeid(SelectJournalIntentHandler)},
        {std::make_shared<kestrova::SetQuietModeIntent>(), typeid(SetQuietModeIntentHandler)},
        {std::make_shared<ShortcutCreateEntryIntent>(), typeid(CreateEntryIntentHandler)},
    };
    IntentHandler extension;
    for (const auto& [intent, kind] : cases) {
        SCOPED_TRACE(std::string(intent->className()));
        const auto first = extension.handler(intent);
        const auto second = extension.handler(intent);
        ASSERT_TRUE(first);
        const auto& handler = *first;
        EXPECT_EQ(std::type_index(typeid(handler)), kind);
        EXPECT_NE(first, second);
    }
}

TEST_F(IntentHandlerTest, OpenPublishViewSucceedsWithOrWithoutAJournal) {
    OpenPublishViewIntentHandler handler;
    for (const bool withJournal : {true, false}) {
        auto intent = std::make_shared<kestrova::OpenPublishViewIntent>();
        if (withJournal) {
            intent->setJournal(std::make_shared<kestrova::IntentJournal>("7", "Run", std::nullopt));
        }
        std::shared_ptr<kestrova::OpenPublishViewIntentResponse> response;
        handler.handle(intent, [&](auto given) { response = given; });
        ASSERT_TRUE(response);
        EXPECT_EQ(response->code(), kestrova::OpenPublishViewIntentResponseCode::success);
        EXPECT_EQ(response->userActivity(), nullptr);
        std::shared_ptr<kestrova::IntentJournalResolutionResult> resolved;
        handler.resolveJournal(intent, [&](auto given) { resolved = given; });
        EXPECT_EQ(resolved->kind(), withJournal ? intents::ResolutionResult::Kind::success
                                                : intents::ResolutionResult::Kind::needsValue);
        EXPECT_EQ(resolved->object(), intent->journal());
    }
}

TEST_F(IntentHandlerTest, TheTwoFaultsStopTheProcessNamingTheExtension) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    IntentHandler extension;
    EXPECT_DEATH((void)extension.handler(std::make_shared<UnknownIntent>()),
                 "^Orvane/IntentHandler:25: Fatal error: Unhandled intent type: <UnknownIntent: 0x[0-9a-f]+>\n");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    EXPECT_DEATH((void)kestrova::IntentJournalResolutionResult::successWithResolvedObject(nullptr),
                 "^Orvane/IntentJournal:[0-9]+: Fatal error\n");
#pragma GCC diagnostic pop
}

}  // namespace
}  // namespace orvane
