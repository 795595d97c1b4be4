// The JSON the application's actions travel in: every value comes back as it went, and a text
// that is not that JSON is refused with a reason, whatever is wrong with it.
#include "platform/kits/appintents/IntentWire.hpp"

#include "tests/support/SampleIntents.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace appintents;
using testing::HasSubstr;

const EntityValue page{"Page", "345", {"Page #345", "in Workout"},
                       {{"id", "ID", std::int64_t{345}}, {"notebookId", "Notebook ID", std::int64_t{7}},
                        {"mood", "Mood", std::string("calm")}, {"weight", "Weight", 71.25},
                        {"pending", "Pending", std::monostate{}}}};

template <typename T>
T roundTrip(const T& value) {
    return fromWire<T>(toWire(value));
}

TEST(IntentWireTest, ValuesOfEveryKindComeBackAsTheyWent) {
    const std::string bytes("\x00\xff\x89PNG\r\n", 7);
    const IntentValues values{
        {"isPrivate", false},
        {"value", -0.125},
        {"notes", std::string("Ran 5 km \"fast\"\n\xf0\x9f\x8f\x83")},
        {"entry", page},
        {"file", IntentFile{foundation::Data(bytes), "photo.png", UTType("public.png")}},
        {"untyped", IntentFile{foundation::Data(), "empty", std::nullopt}},
    };
    EXPECT_EQ(roundTrip(values), values);
    EXPECT_EQ(roundTrip(IntentValues{}), IntentValues{});
}

TEST(IntentWireTest, ResultsEntitiesSectionsDisplaysAndTextsComeBackAsTheyWent) {
    EXPECT_EQ(roundTrip(IntentResult::result(page)).value, page);
    EXPECT_FALSE(roundTrip(IntentResult::result()).value);

    EXPECT_EQ(roundTrip(std::vector<EntityValue>{page, EntityValue{"Notebook", "7", {"Workout", std::nullopt}, {}}}),
              (std::vector<EntityValue>{page, EntityValue{"Notebook", "7", {"Workout", std::nullopt}, {}}}));

    const auto sections = roundTrip(EntityCollection{{"Today", {page}}, {std::nullopt, {}}});
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].title, "Today");
    EXPECT_EQ(sections[0].items, std::vector<EntityValue>{page});
    EXPECT_EQ(sections[1].title, std::nullopt);
    EXPECT_TRUE(sections[1].items.empty());

    const std::vector<DisplayRepresentation> displays{{"Turn Quiet Mode On", ""}, {"Open", std::nullopt}};
    EXPECT_EQ(roundTrip(displays), displays);
    EXPECT_EQ(roundTrip(std::vector<std::string>{"7", "", "07"}), (std::vector<std::string>{"7", "", "07"}));
}

TEST(IntentWireTest, ActionsComeBackWithTheirParametersSummariesAndPredictions) {
    IntentCatalogue catalogue;
    testsupport::addSampleIntents(catalogue);
    const auto sent = catalogue.intents();
    const auto intents = roundTrip(sent);
    ASSERT_EQ(intents.size(), sent.size());
    EXPECT_EQ(toWire(intents), toWire(sent));

    const IntentDescription& write = intents[0];
    EXPECT_EQ(write.typeName, "WritePage");
    EXPECT_EQ(write.metadata.title, "Write Page");
    EXPECT_EQ(write.metadata.description, "Writes a page into a notebook.");
    EXPECT_EQ(write.metadata.intentClassName, "WritePageIntent");
    EXPECT_FALSE(write.metadata.openAppWhenRun);
    EXPECT_TRUE(write.metadata.isPredictable);
    ASSERT_EQ(write.parameters.size(), 4u);
    const auto& notebook = write.parameters[0];
    EXPECT_EQ(notebook.name, "notebook");
    EXPECT_EQ(notebook.kind, ValueKind::entity);
    EXPECT_EQ(notebook.entityType, "Notebook");
    EXPECT_TRUE(notebook.isRequired);
    EXPECT_EQ(notebook.options.title, "Notebook");
    EXPECT_EQ(notebook.options.description, "Where the page goes.");
    EXPECT_EQ(notebook.options.requestDialog, "Which notebook?");
    const auto& isPrivate = write.parameters[2];
    EXPECT_EQ(isPrivate.kind, ValueKind::boolean);
    EXPECT_EQ(isPrivate.defaultValue, IntentValue(true));
    EXPECT_EQ(isPrivate.options.displayNames, std::pair(std::string("Hidden"), std::string("Shown")));
    const auto& attachment = write.parameters[3];
    EXPECT_EQ(attachment.kind, ValueKind::file);
    EXPECT_FALSE(attachment.isRequired);
    EXPECT_EQ(attachment.options.supportedTypeIdentifiers, std::vector<std::string>{"public.item"});
    EXPECT_EQ(write.summary.whenParameter, "attachment");
    ASSERT_TRUE(write.summary.otherwise);
    EXPECT_EQ(write.summary.otherwise->listed, (std::vector<std::string>{"attachment", "isPrivate"}));
    ASSERT_EQ(write.summary.sentence.pieces.size(), 7u);
    EXPECT_EQ(std::get<std::string>(write.summary.sentence.pieces[0]), "Write ");
    EXPECT_EQ(std::get<ParameterReference>(write.summary.sentence.pieces[1]).name, "text");
    EXPECT_EQ(write.predictions, (std::vector<std::vector<std::string>>{{"notebook", "text"}}));
    EXPECT_TRUE(intents[3].metadata.openAppWhenRun);
    EXPECT_FALSE(intents[3].parameters[0].isRequired);
}

TEST(IntentWireTest, ANumberThatJSONCannotHoldIsRefusedWhenWritten) {
    EXPECT_THROW(static_cast<void>(toWire(IntentValues{{"value", std::numeric_limits<double>::infinity()}})),
                 IntentWireError);
    EXPECT_THROW(static_cast<void>(toWire(IntentValues{{"value", std::nan("")}})), IntentWireError);
}

struct Malformed {
    const char* what;
    std::string_view json;
    const char* reason;  // a part of the message

    friend void PrintTo(const Malformed& malformed, std::ostream* stream) { *stream << malformed.what; }
};

class MalformedValuesTest : public testing::TestWithParam<Malformed> {};

TEST_P(MalformedValuesTest, IsRefusedWithItsReason) {
    try {
        static_cast<void>(fromWire<IntentValues>(GetParam().json));
        ADD_FAILURE() << GetParam().what << " was taken";
    } catch (const IntentWireError& error) {
        EXPECT_THAT(error.what(), HasSubstr(GetParam().reason));
    }
}

INSTANTIATE_TEST_SUITE_P(
    IntentWire, MalformedValuesTest,
    testing::Values(
        Malformed{"no JSON", "", "not the JSON expected"},
        Malformed{"a cut text", R"([{"name":"notes","kind":"text","value":"Ran)", "not the JSON expected"},
        Malformed{"an object for the list", R"({"notes":"Ran"})", "at the top level"},
        Malformed{"a value without a name", R"([{"kind":"text","value":"Ran"}])", "[0]"},
        Malformed{"an unknown kind", R"([{"name":"notes","kind":"colour","value":"red"}])", "\"colour\""},
        Malformed{"a value of another kind than said", R"([{"name":"isPrivate","kind":"boolean","value":"yes"}])",
                  "[0].value"},
        Malformed{"a name given twice",
                  R"([{"name":"notes","kind":"text","value":"a"},{"name":"notes","kind":"text","value":"b"}])",
                  "notes is given twice"},
        Malformed{"bytes that are not Base64",
                  R"([{"name":"file","kind":"file","value":{"data":"@@@","filename":"a"}}])", "[0].value.data"},
        Malformed{"an entity without a display",
                  R"([{"name":"entry","kind":"entity","value":{"type":"Page","identifier":"1","properties":[]}}])",
                  "display"},
        Malformed{"a property with two values",
                  R"([{"name":"entry","kind":"entity","value":{"type":"Page","identifier":"1","display":{"title":"P"},)"
                  R"("properties":[{"key":"id","title":"ID","integer":1,"text":"1"}]}}])",
                  "more than one value"},
        Malformed{"a document nested beyond any bound", std::string_view(R"([[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[)"),
                  "not the JSON expected"}));

TEST(IntentWireTest, ADescriptionThatContradictsItselfIsRefused) {
    const std::string parameter =
        R"({"name":"journal","title":"Journal","supportedTypes":[],"kind":"text","entityType":"Journal","required":true})";
    const std::string intent = R"([{"typeName":"T","title":"T","openAppWhenRun":false,"isPredictable":false,"parameters":[)" +
                               parameter +
                               R"(],"summary":{"sentence":{"pieces":[],"listed":[]}},"predictions":[]}])";
    EXPECT_THROW(static_cast<void>(fromWire<std::vector<IntentDescription>>(intent)), IntentWireError);
    const std::string piece = R"([{"typeName":"T","title":"T","openAppWhenRun":false,"isPredictable":false,"parameters":[],)"
                              R"("summary":{"sentence":{"pieces":[{"text":"a","parameter":"b"}],"listed":[]}},"predictions":[]}])";
    EXPECT_THROW(static_cast<void>(fromWire<std::vector<IntentDescription>>(piece)), IntentWireError);
    const std::string halfSummary = R"([{"typeName":"T","title":"T","openAppWhenRun":false,"isPredictable":false,"parameters":[],)"
                                    R"("summary":{"sentence":{"pieces":[],"listed":[]},"when":"file"},"predictions":[]}])";
    EXPECT_THROW(static_cast<void>(fromWire<std::vector<IntentDescription>>(halfSummary)), IntentWireError);
}

}  // namespace
