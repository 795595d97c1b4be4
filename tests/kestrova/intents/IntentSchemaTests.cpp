// The schema every deliverable carries: response codes, responses, the
// intents' parameters, the journal object and its resolution result, and
// archives of them crossing processes.

#include "kestrova/intents/CreateEntryIntent.hpp"
#include "kestrova/intents/CreateEntryIntentResponse.hpp"
#include "kestrova/intents/IntentJournal.hpp"
#include "kestrova/intents/IntentJournalResolutionResult.hpp"
#include "kestrova/intents/IntentSchema.hpp"
#include "kestrova/intents/OpenPublishViewIntent.hpp"
#include "kestrova/intents/OpenPublishViewIntentResponse.hpp"
#include "kestrova/intents/ResponseCode.hpp"
#include "kestrova/intents/SelectJournalIntent.hpp"
#include "kestrova/intents/SelectJournalIntentResponse.hpp"
#include "kestrova/intents/SetQuietModeIntent.hpp"
#include "kestrova/intents/SetQuietModeIntentResponse.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"
#include "tests/support/ForkedChild.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace kestrova {
namespace {

class IntentSchemaTest : public ::testing::Test {
protected:
    void SetUp() override { registerIntentSchema(); }
};

template <typename Response>
class ResponseTest : public IntentSchemaTest {};

using Responses = ::testing::Types<CreateEntryIntentResponse, OpenPublishViewIntentResponse, SelectJournalIntentResponse,
                                   SetQuietModeIntentResponse>;
TYPED_TEST_SUITE(ResponseTest, Responses);

TYPED_TEST(ResponseTest, CodesConvertFromRawValuesZeroToSixOnly) {
    using Code = decltype(TypeParam().code());
    const std::vector<std::pair<std::int64_t, std::optional<Code>>> cases = {
        {0, Code::unspecified},
        {1, Code::ready},
        {2, Code::continueInApp},
        {3, Code::inProgress},
        {4, Code::success},
        {5, Code::failure},
        {6, Code::failureRequiringAppLaunch},
        {7, std::nullopt},
        {-1, std::nullopt},
        {std::numeric_limits<std::int64_t>::min(), std::nullopt},
        {std::numeric_limits<std::int64_t>::max(), std::nullopt},
    };
    for (const auto& [raw, code] : cases) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(responseCodeFromRawValue<Code>(raw), code);
        if (code) {
            EXPECT_EQ(rawValue(*code), raw);
        }
    }
}

TYPED_TEST(ResponseTest, StartsUnspecifiedAndStoresAnyCode) {
    using Code = decltype(TypeParam().code());
    const TypeParam fresh;
    EXPECT_EQ(fresh.code(), Code::unspecified);
    EXPECT_EQ(fresh.userActivity(), nullptr);

    const auto activity = std::make_shared<intents::UserActivity>("OpenPublishViewIntent");
    const TypeParam failed(Code::failure, activity);
    EXPECT_EQ(failed.platformCode(), 5);
    EXPECT_EQ(failed.userActivity(), activity);

    TypeParam odd;
    odd.setPlatformCode(-42);
    EXPECT_EQ(odd.platformCode(), -42);
    EXPECT_EQ(rawValue(odd.code()), -42);
    EXPECT_EQ(responseCodeFromRawValue<Code>(rawValue(odd.code())), std::nullopt);
}

TYPED_TEST(ResponseTest, ArchivesCarryTheCodeThroughTheBaseClassOnly) {
    using Code = decltype(TypeParam().code());
    const TypeParam succeeded(Code::success, std::make_shared<intents::UserActivity>("open"));
    const auto decoded =
        intents::KeyedUnarchiver::unarchivedObject<TypeParam>(intents::KeyedArchiver::archivedData(succeeded));
    EXPECT_EQ(decoded->code(), Code::success);
    EXPECT_EQ(decoded->userActivity()->activityType(), "open");

    const std::string withoutCode =
        R"({"$archiver":"KeyedArchive","$top":{"$class":")" + std::string(succeeded.className()) + R"("}})";
    const auto bare = intents::KeyedUnarchiver::unarchivedObject<TypeParam>(foundation::Data(withoutCode));
    EXPECT_EQ(bare->code(), Code::unspecified);
    EXPECT_EQ(bare->userActivity(), nullptr);
}

TEST_F(IntentSchemaTest, ClassesGoByTheirBareNames) {
    const std::vector<std::pair<std::shared_ptr<intents::Archivable>, std::string_view>> cases = {
        {std::make_shared<CreateEntryIntent>(), "CreateEntryIntent"},
        {std::make_shared<OpenPublishViewIntent>(), "OpenPublishViewIntent"},
        {std::make_shared<SelectJournalIntent>(), "SelectJournalIntent"},
        {std::make_shared<SetQuietModeIntent>(), "SetQuietModeIntent"},
        {std::make_shared<CreateEntryIntentResponse>(), "CreateEntryIntentResponse"},
        {std::make_shared<IntentJournal>("1", "One", std::nullopt), "IntentJournal"},
        {IntentJournalResolutionResult::needsValue(), "IntentJournalResolutionResult"},
    };
    for (const auto& [object, name] : cases) {
        EXPECT_EQ(object->className(), name);
        const auto decoded = intents::KeyedUnarchiver::unarchivedRoot(intents::KeyedArchiver::archivedData(*object));
        EXPECT_EQ(decoded->className(), name);
    }
    EXPECT_TRUE(IntentJournal::supportsSecureCoding);
}

TEST_F(IntentSchemaTest, ParametersNeverSetReadAsNone) {
    const CreateEntryIntent intent;
    EXPECT_EQ(intent.isPrivate(), std::nullopt);
    EXPECT_EQ(intent.notes(), std::nullopt);
    EXPECT_EQ(intent.journal(), nullptr);
    EXPECT_EQ(intent.file(), nullptr);
    EXPECT_EQ(SetQuietModeIntent().quietMode(), std::nullopt);

    CreateEntryIntent set;
    set.setIsPrivate(intents::Number(false));
    ASSERT_TRUE(set.isPrivate());
    EXPECT_FALSE(set.isPrivate()->boolValue());
    set.setIsPrivate(std::nullopt);
    EXPECT_EQ(set.isPrivate(), std::nullopt);
}

TEST_F(IntentSchemaTest, AJournalObjectKeepsItsThreeValues) {
    const IntentJournal journal("12", "🏃 Run", std::nullopt);
    EXPECT_EQ(journal.identifier(), "12");
    EXPECT_EQ(journal.displayString(), "🏃 Run");
    EXPECT_EQ(journal.pronunciationHint(), std::nullopt);
}

TEST_F(IntentSchemaTest, AnIntentArchivedInOneProcessDecodesInAnother) {
    // The child stands for another deliverable: the same classes, registered
    // under the same names, in a process of its own.
    const std::string archive = testsupport::ForkedChild::run([] {
        SelectJournalIntent configuration;
        configuration.setJournal(std::make_shared<IntentJournal>("12", "🏃 Run", std::nullopt));
        return std::string(intents::KeyedArchiver::archivedData(configuration).view());
    });
    const auto decoded = intents::KeyedUnarchiver::unarchivedObject<SelectJournalIntent>(foundation::Data(archive));
    ASSERT_TRUE(decoded->journal());
    EXPECT_EQ(decoded->journal()->identifier(), "12");
    EXPECT_EQ(decoded->journal()->displayString(), "🏃 Run");
    EXPECT_EQ(decoded->journal()->pronunciationHint(), std::nullopt);

    const std::string response = testsupport::ForkedChild::run([&archive] {
        registerIntentSchema();
        const auto intent = intents::KeyedUnarchiver::unarchivedObject<SelectJournalIntent>(foundation::Data(archive));
        const SelectJournalIntentResponse answer(intent->journal()->identifier() == "12"
                                                     ? SelectJournalIntentResponseCode::success
                                                     : SelectJournalIntentResponseCode::failure,
                                                 nullptr);
        return std::string(intents::KeyedArchiver::archivedData(answer).view());
    });
    EXPECT_EQ(intents::KeyedUnarchiver::unarchivedObject<SelectJournalIntentResponse>(foundation::Data(response))->code(),
              SelectJournalIntentResponseCode::success);
}

TEST_F(IntentSchemaTest, JournalResolutionsCarryJournals) {
    const auto run = std::make_shared<IntentJournal>("1", "Run", std::nullopt);
    const auto read = std::make_shared<IntentJournal>("2", "Read", std::nullopt);
    const auto art = std::make_shared<IntentJournal>("3", "art", std::nullopt);

    const auto success = IntentJournalResolutionResult::success(run);
    EXPECT_EQ(success->kind(), intents::ResolutionResult::Kind::success);
    EXPECT_EQ(success->object(), run);

    EXPECT_TRUE(IntentJournalResolutionResult::disambiguation({})->objects().empty());
    const auto three = IntentJournalResolutionResult::disambiguation({read, art, run})->objects();
    ASSERT_EQ(three.size(), 3u);
    EXPECT_EQ(three[0], read);
    EXPECT_EQ(three[1], art);
    EXPECT_EQ(three[2], run);

    const auto unconfirmed = IntentJournalResolutionResult::confirmationRequired(nullptr);
    EXPECT_EQ(unconfirmed->kind(), intents::ResolutionResult::Kind::confirmationRequired);
    EXPECT_EQ(unconfirmed->object(), nullptr);
    EXPECT_EQ(IntentJournalResolutionResult::needsValue()->kind(), intents::ResolutionResult::Kind::needsValue);
}

TEST_F(IntentSchemaTest, TheWithdrawnUntypedOperationsStopTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto journal = std::make_shared<IntentJournal>("1", "Run", std::nullopt);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    EXPECT_DEATH((void)IntentJournalResolutionResult::successWithResolvedObject(journal),
                 "^Kestrova/IntentJournal:[0-9]+: Fatal error\n");
    EXPECT_DEATH((void)IntentJournalResolutionResult::disambiguationWithObjectsToDisambiguate({journal}),
                 "^Kestrova/IntentJournal:[0-9]+: Fatal error\n");
    EXPECT_DEATH((void)IntentJournalResolutionResult::confirmationRequiredWithObjectToConfirm(nullptr),
                 "^Kestrova/IntentJournal:[0-9]+: Fatal error\n");
#pragma GCC diagnostic pop
}

}  // namespace
}  // namespace kestrova
