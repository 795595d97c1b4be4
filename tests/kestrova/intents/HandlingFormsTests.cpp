// How the platform reaches a handler: by selector, through whichever form of
// an operation the handler implements.

#include "kestrova/intents/SelectJournalIntentHandling.hpp"
#include "kestrova/intents/SetQuietModeIntentHandling.hpp"
#include "platform/kits/intents/ObjectSection.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>

namespace kestrova {
namespace {

// Implements handling in its asynchronous form and resolution in its
// callback form.
class QuietModeHandler final : public SetQuietModeIntentHandling {
public:
    using SetQuietModeIntentHandling::handle;
    using SetQuietModeIntentHandling::resolveQuietMode;

    concurrency::Task<std::shared_ptr<SetQuietModeIntentResponse>> handle(
        std::shared_ptr<SetQuietModeIntent> intent) override {
        co_return std::make_shared<SetQuietModeIntentResponse>(
            intent->quietMode() ? SetQuietModeIntentResponseCode::success : SetQuietModeIntentResponseCode::failure,
            nullptr);
    }

    void resolveQuietMode(std::shared_ptr<SetQuietModeIntent>,
                          std::function<void(std::shared_ptr<intents::BooleanResolutionResult>)> completion) override {
        completion(intents::BooleanResolutionResult::success(true));
    }
};

// Implements only the required option list, and fails it.
class FailingOptionsHandler final : public SelectJournalIntentHandling {
public:
    using SelectJournalIntentHandling::provideJournalOptionsCollection;

    concurrency::Task<std::shared_ptr<intents::ObjectCollection>> provideJournalOptionsCollection(
        std::shared_ptr<SelectJournalIntent>) override {
        throw std::runtime_error("no journals today");
        co_return nullptr;
    }
};

struct Answers {
    std::mutex mutex;
    std::vector<intents::HandlerAnswer> received;

    intents::HandlerObject::Reply reply() {
        return [this](intents::HandlerAnswer answer) {
            {
                const std::lock_guard lock(mutex);
                received.push_back(std::move(answer));
            }
            // Answers from other threads wake the main loop up.
            concurrency::MainActor::shared().enqueue([] {});
        };
    }

    // Waits for exactly one answer and gives it.
    intents::HandlerAnswer one() {
        testsupport::MainLoop::iterateUntil([this] {
            const std::lock_guard lock(mutex);
            return !received.empty();
        });
        testsupport::MainLoop::iterateUntil([] { return false; }, std::chrono::milliseconds(20));
        const std::lock_guard lock(mutex);
        EXPECT_EQ(received.size(), 1u);
        return received.empty() ? intents::HandlerAnswer{} : received.front();
    }
};

template <typename T>
std::int64_t codeOf(const intents::HandlerAnswer& answer) {
    const auto response = std::dynamic_pointer_cast<const T>(answer.object);
    return response ? response->platformCode() : -1;
}

TEST(HandlingFormsTest, TheCallbackFormRunsTheAsynchronousOneOnce) {
    QuietModeHandler handler;
    auto intent = std::make_shared<SetQuietModeIntent>();
    intent->setQuietMode(intents::Number(true));
    Answers answers;
    ASSERT_TRUE(handler.perform("handleSetQuietMode:completion:", intent, answers.reply()));
    EXPECT_EQ(codeOf<SetQuietModeIntentResponse>(answers.one()), 4);

    Answers resolved;
    ASSERT_TRUE(handler.perform("resolveQuietModeForSetQuietMode:withCompletion:", intent, resolved.reply()));
    const auto result = std::dynamic_pointer_cast<const intents::BooleanResolutionResult>(resolved.one().object);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->boolValue(), true);
}

TEST(HandlingFormsTest, OptionalOperationsAnswerAsIfAbsent) {
    QuietModeHandler quiet;
    Answers confirmed;
    ASSERT_TRUE(quiet.perform("confirmSetQuietMode:completion:", std::make_shared<SetQuietModeIntent>(),
                              confirmed.reply()));
    EXPECT_EQ(codeOf<SetQuietModeIntentResponse>(confirmed.one()), 1);

    FailingOptionsHandler select;
    const auto configuration = std::make_shared<SelectJournalIntent>();
    Answers byDefault;
    ASSERT_TRUE(select.perform("defaultJournalForSelectJournal:", configuration, byDefault.reply()));
    EXPECT_EQ(byDefault.one().object, nullptr);
    Answers flat;
    ASSERT_TRUE(select.perform("provideJournalOptionsForSelectJournal:withCompletion:", configuration, flat.reply()));
    EXPECT_EQ(flat.one().object, nullptr);
    Answers handled;
    ASSERT_TRUE(select.perform("handleSelectJournal:completion:", configuration, handled.reply()));
    EXPECT_EQ(codeOf<SelectJournalIntentResponse>(handled.one()), 4);
}

TEST(HandlingFormsTest, AnOptionListThatFailsAnswersItsErrorText) {
    FailingOptionsHandler select;
    Answers options;
    ASSERT_TRUE(select.perform("provideJournalOptionsCollectionForSelectJournal:withCompletion:",
                               std::make_shared<SelectJournalIntent>(), options.reply()));
    const auto answer = options.one();
    EXPECT_EQ(answer.object, nullptr);
    EXPECT_EQ(answer.error, "no journals today");
}

TEST(HandlingFormsTest, SelectorsOfOtherProtocolsAndIntentsOfOtherClassesAreNotAnswered) {
    QuietModeHandler handler;
    Answers none;
    EXPECT_FALSE(handler.perform("handleCreateEntry:completion:", std::make_shared<SetQuietModeIntent>(), none.reply()));
    EXPECT_FALSE(handler.perform("handleSetQuietMode:completion:", std::make_shared<SelectJournalIntent>(), none.reply()));
    EXPECT_TRUE(none.received.empty());
}

}  // namespace
}  // namespace kestrova
