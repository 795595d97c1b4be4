// Keyed archives of the object model: what goes in comes out, by class name,
// and what this process does not know is refused.

#include "platform/kits/intents/ArchiveError.hpp"
#include "platform/kits/intents/BooleanResolutionResult.hpp"
#include "platform/kits/intents/ClassRegistry.hpp"
#include "platform/kits/intents/File.hpp"
#include "platform/kits/intents/Intent.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"
#include "platform/kits/intents/ObjectCollection.hpp"
#include "platform/kits/intents/ObjectResolutionResult.hpp"
#include "platform/kits/intents/StringResolutionResult.hpp"
#include "tests/support/ForkedChild.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace intents {
namespace {

using ::testing::HasSubstr;

// An intent class of the test's own, registered under its bare name.
class NoteIntent final : public Intent {
public:
    NoteIntent() = default;
    explicit NoteIntent(const KeyedUnarchiver& coder) : Intent(coder) {}
    [[nodiscard]] std::string_view className() const override { return "NoteIntent"; }
};

class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { ClassRegistry::shared().add<NoteIntent>("NoteIntent"); }
};

template <typename T>
std::shared_ptr<T> roundTrip(const Archivable& object) {
    return KeyedUnarchiver::unarchivedObject<T>(KeyedArchiver::archivedData(object));
}

TEST_F(ArchiveTest, ParametersKeepTheirKindAndValue) {
    const auto journal = std::make_shared<Object>("12", "🏃 Run", std::nullopt);
    const std::vector<std::pair<std::string, ParameterValue>> parameters = {
        {"notes", ParameterValue(std::string("two\nlines \"quoted\" \x1e"))},
        {"empty", ParameterValue(std::string())},
        {"yes", ParameterValue(Number(true))},
        {"count", ParameterValue(Number(std::numeric_limits<std::int64_t>::min()))},
        {"ratio", ParameterValue(Number(0.25))},
        {"journal", ParameterValue(std::shared_ptr<Archivable>(journal))},
    };
    NoteIntent intent;
    for (const auto& [name, value] : parameters) {
        intent.setParameterValue(name, value);
    }
    const auto decoded = roundTrip<NoteIntent>(intent);
    EXPECT_EQ(decoded->identifier(), intent.identifier());
    for (const auto& [name, value] : parameters) {
        SCOPED_TRACE(name);
        const auto read = decoded->parameterValue(name);
        ASSERT_TRUE(read);
        ASSERT_EQ(read->index(), value.index());
        if (const auto* object = std::get_if<std::shared_ptr<Archivable>>(&*read)) {
            const auto copy = std::dynamic_pointer_cast<Object>(*object);
            ASSERT_TRUE(copy);
            EXPECT_EQ(copy->identifier(), journal->identifier());
            EXPECT_EQ(copy->displayString(), journal->displayString());
            EXPECT_EQ(copy->pronunciationHint(), std::nullopt);
        } else {
            EXPECT_EQ(*read, value);
        }
    }
    EXPECT_EQ(decoded->parameterValue("never set"), std::nullopt);
}

TEST_F(ArchiveTest, AParameterOfAnotherKindReadsAsNone) {
    NoteIntent intent;
    intent.setParameterValue("flag", ParameterValue(std::string("true")));
    EXPECT_EQ(intent.numberParameter("flag"), std::nullopt);
    EXPECT_EQ(intent.objectParameter<Object>("flag"), nullptr);
    EXPECT_EQ(intent.stringParameter("flag"), "true");
    intent.setParameterValue("flag", std::nullopt);
    EXPECT_EQ(intent.parameterValue("flag"), std::nullopt);
}

TEST_F(ArchiveTest, NumbersConvertToBooleansAsTheOtherPlatformDoes) {
    const std::vector<std::pair<Number, bool>> cases = {
        {Number(true), true},           {Number(false), false},       {Number(std::int64_t{0}), false},
        {Number(std::int64_t{1}), true}, {Number(std::int64_t{-7}), true}, {Number(0.0), false},
        {Number(0.5), true},
    };
    for (const auto& [number, expected] : cases) {
        EXPECT_EQ(number.boolValue(), expected);
    }
}

TEST_F(ArchiveTest, AFileGivenByItsURLCrossesAsItsURL) {
    testsupport::ScratchDirectory directory;
    const auto path = directory.write("photo.jpg", "JPEG bytes");
    const File byURL(foundation::URL::fileURL(path.string()), "photo.jpg", "public.jpeg");
    const auto archive = KeyedArchiver::archivedData(byURL);
    EXPECT_THAT(std::string(archive.view()), ::testing::Not(HasSubstr("SlBFRyBieXRlcw")));
    const auto decoded = KeyedUnarchiver::unarchivedObject<File>(archive);
    EXPECT_EQ(decoded->fileURL(), byURL.fileURL());
    EXPECT_EQ(decoded->data(), foundation::Data("JPEG bytes"));
    EXPECT_EQ(decoded->filename(), "photo.jpg");
    EXPECT_EQ(decoded->typeIdentifier(), "public.jpeg");

    const auto inline_ = roundTrip<File>(File(foundation::Data("abc"), "a.txt", std::nullopt));
    EXPECT_EQ(inline_->fileURL(), std::nullopt);
    EXPECT_EQ(inline_->data(), foundation::Data("abc"));
    EXPECT_EQ(inline_->typeIdentifier(), std::nullopt);
}

TEST_F(ArchiveTest, CollectionsKeepTheirSectionsAndOrder) {
    const ObjectCollection collection({
        std::make_shared<ObjectSection>("Today", std::vector<std::shared_ptr<Object>>{
                                                     std::make_shared<Object>("1", "One", std::nullopt),
                                                     std::make_shared<Object>("2", "Two", "too")}),
        std::make_shared<ObjectSection>("Not Today", std::vector<std::shared_ptr<Object>>{}),
        std::make_shared<ObjectSection>(std::nullopt, std::vector<std::shared_ptr<Object>>{
                                                          std::make_shared<Object>(std::nullopt, "Three", std::nullopt)}),
    });
    const auto decoded = roundTrip<ObjectCollection>(collection);
    ASSERT_EQ(decoded->sections().size(), 3u);
    EXPECT_EQ(decoded->sections()[0]->title(), "Today");
    ASSERT_EQ(decoded->sections()[0]->items().size(), 2u);
    EXPECT_EQ(decoded->sections()[0]->items()[1]->displayString(), "Two");
    EXPECT_EQ(decoded->sections()[0]->items()[1]->pronunciationHint(), "too");
    EXPECT_EQ(decoded->sections()[1]->title(), "Not Today");
    EXPECT_TRUE(decoded->sections()[1]->items().empty());
    EXPECT_EQ(decoded->sections()[2]->title(), std::nullopt);
    EXPECT_EQ(decoded->sections()[2]->items()[0]->identifier(), std::nullopt);
}

TEST_F(ArchiveTest, ResolutionResultsKeepTheirKindAndValues) {
    const auto a = std::make_shared<Object>("a", "A", std::nullopt);
    const auto b = std::make_shared<Object>("b", "B", std::nullopt);
    const auto disambiguation = roundTrip<ObjectResolutionResult>(
        *ObjectResolutionResult::disambiguationWithObjectsToDisambiguate({b, a}));
    EXPECT_EQ(disambiguation->kind(), ResolutionResult::Kind::disambiguation);
    ASSERT_EQ(disambiguation->objects().size(), 2u);
    EXPECT_EQ(disambiguation->objects()[0]->identifier(), "b");
    EXPECT_EQ(disambiguation->objects()[1]->identifier(), "a");

    EXPECT_EQ(roundTrip<StringResolutionResult>(*StringResolutionResult::success("hi"))->string(), "hi");
    EXPECT_EQ(roundTrip<StringResolutionResult>(*StringResolutionResult::needsValue())->kind(),
              ResolutionResult::Kind::needsValue);
    EXPECT_EQ(roundTrip<BooleanResolutionResult>(*BooleanResolutionResult::success(false))->boolValue(), false);
    const auto confirm = roundTrip<BooleanResolutionResult>(*BooleanResolutionResult::confirmationRequired(std::nullopt));
    EXPECT_EQ(confirm->kind(), ResolutionResult::Kind::confirmationRequired);
    EXPECT_EQ(confirm->boolValue(), std::nullopt);
}

TEST_F(ArchiveTest, RefusesWhatItCannotTrust) {
    struct Case {
        std::string archive;
        std::string message;
    };
    const std::vector<Case> cases = {
        {R"({"$archiver":"KeyedArchive","$version":1,"$top":{"$class":"EvilIntent","identifier":"x"}})",
         "the class \"EvilIntent\", which this process does not know"},
        {R"({"$archiver":"KeyedArchive","$version":1,"$top":{"$class":"NoteIntent","parameterNames":[{"$class":"NSString","string":"a"}],"parameterValues":[{"$class":"Shell","cmd":"rm"}]}})",
         "the class \"Shell\""},
        {R"({"$archiver":"KeyedArchive","$version":1,"$top":{"$class":"INObject","displayString":"x"}})",
         "the class \"INObject\" where another class was expected"},
        {R"({"$archiver":"KeyedArchive","$version":1,"$top":{"$class":"NoteIntent","parameterNames":[{"$class":"NSString","string":"a"}]}})",
         "1 parameter names for 0 values"},
        {R"({"version":1})", "no keyed archive"},
        {R"(not json)", "the archive cannot be read"},
        {R"({"$archiver":"KeyedArchive","$top":{"$class":"INFile","filename":"x","fileURL":"https://example.com/x"}})",
         "is no file URL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.archive);
        try {
            (void)KeyedUnarchiver::unarchivedObject<NoteIntent>(foundation::Data(c.archive));
            ADD_FAILURE() << "decoded";
        } catch (const ArchiveError& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.message));
        }
    }
}

TEST_F(ArchiveTest, AnArchiveMadeInOneProcessDecodesInAnother) {
    const std::string archive = testsupport::ForkedChild::run([] {
        NoteIntent intent;
        intent.setParameterValue("journal", ParameterValue(std::shared_ptr<Archivable>(
                                                std::make_shared<Object>("42", "Forty-two", std::nullopt))));
        intent.setParameterValue("isPrivate", ParameterValue(Number(true)));
        return std::string(KeyedArchiver::archivedData(intent).view());
    });
    const auto decoded = KeyedUnarchiver::unarchivedObject<NoteIntent>(foundation::Data(archive));
    EXPECT_EQ(decoded->objectParameter<Object>("journal")->identifier(), "42");
    EXPECT_EQ(decoded->numberParameter("isPrivate"), Number(true));
}

}  // namespace
}  // namespace intents
