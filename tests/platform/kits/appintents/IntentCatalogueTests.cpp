#include "platform/kits/appintents/IntentCatalogue.hpp"

#include "platform/kits/appintents/CustomLocalizedStringResourceConvertible.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace appintents {
namespace {

using testsupport::MainLoop;

// An entity of the tests: a colour by its name.
struct Colour {
    static constexpr std::string_view typeName = "Colour";
    std::string name;

    static std::string typeDisplayName() { return "Colour"; }
    [[nodiscard]] std::string identifier() const { return name; }
    [[nodiscard]] DisplayRepresentation displayRepresentation() const { return {"Colour " + name, {}}; }
    [[nodiscard]] EntityValue entityValue() const { return {"Colour", name, displayRepresentation(), {}}; }
    static Colour fromValue(const EntityValue& value) { return {value.identifier}; }
};

class ColourQuery final : public EntityStringQuery<Colour> {
public:
    concurrency::Task<std::vector<Colour>> entities(std::vector<std::string> identifiers) override {
        std::vector<Colour> found;
        for (auto& identifier : identifiers) {
            found.push_back({std::move(identifier)});
        }
        co_return found;
    }
    concurrency::Task<IntentItemCollection<Colour>> suggestedEntities() override {
        co_return IntentItemCollection<Colour>({{"Warm", {{"red"}}}, {"Cold", {{"blue"}, {"teal"}}}});
    }
    concurrency::Task<IntentItemCollection<Colour>> entitiesMatching(std::string text) override {
        co_return IntentItemCollection<Colour>::list({{text}});
    }
};

class PaintError : public std::exception, public CustomLocalizedStringResourceConvertible {
public:
    [[nodiscard]] std::string localizedStringResource() const override { return "The paint ran out."; }
    [[nodiscard]] const char* what() const noexcept override { return "PaintError"; }
};

// What the test actions did, in order.
std::vector<std::string>& happened() {
    static std::vector<std::string> lines;
    return lines;
}

class Paint final : public AppIntent {
public:
    static constexpr std::string_view typeName = "Paint";
    static const IntentMetadata& metadata() {
        static const IntentMetadata made{.title = "Paint"};
        return made;
    }
    static ParameterSummary parameterSummary() {
        return ParameterSummary::when(
            "colour", {{"Paint ", ParameterReference{"label"}, " in ", ParameterReference{"colour"}, "."}, {"coats"}},
            {{"Paint ", ParameterReference{"label"}, " with ", ParameterReference{"coats"}, " coats, ",
              ParameterReference{"glossy"}, "."},
             {"colour", "coats"}});
    }

    concurrency::Task<IntentResult> perform() override {
        happened().push_back("painted " + *label);
        if (*label == "out of paint") {
            throw PaintError();
        }
        if (*label == "spilt") {
            throw std::runtime_error("The tin fell over.");
        }
        co_return IntentResult::result(Colour{*label}.entityValue());
    }

    IntentParameter<Colour, true> colour{*this, "colour", {.title = "Colour"}};
    IntentParameter<std::string> label{*this, "label", {.title = "Label", .requestDialog = "What should it say?"}};
    IntentParameter<double> coats{*this, "coats", {.title = "Coats"}, 2.0};
    IntentParameter<bool> glossy{*this, "glossy", {.title = "Finish", .displayNames = std::pair<std::string, std::string>{"Glossy", "Matt"}}, true};
};

class Show final : public AppIntent {
public:
    static constexpr std::string_view typeName = "Show";
    static const IntentMetadata& metadata() {
        static const IntentMetadata made{.title = "Show", .openAppWhenRun = true, .isPredictable = true};
        return made;
    }
    static ParameterSummary parameterSummary() { return ParameterSummary::always({{"Show it."}, {}}); }

    concurrency::Task<IntentResult> perform() override {
        happened().push_back("shown");
        co_return IntentResult::result();
    }
    [[nodiscard]] std::vector<IntentPrediction> predictionConfiguration() const override {
        return {{{"times"}, [this] { return DisplayRepresentation{"Show " + std::to_string(static_cast<int>(*times)), ""}; }}};
    }

    IntentParameter<double> times{*this, "times", {.title = "Times"}, 1.0};
};

class IntentCatalogueTest : public testing::Test {
protected:
    IntentCatalogueTest() {
        happened().clear();
        catalogue_.addIntent<Paint>();
        catalogue_.addIntent<Show>();
        catalogue_.addEntity<Colour>(std::make_shared<ColourQuery>());
        catalogue_.setOpenApplication([] { happened().push_back("application opened"); });
    }

    IntentResult perform(const std::string& title, const IntentValues& values) {
        return MainLoop::runOnMainActor([&]() -> concurrency::Task<IntentResult> {
            co_return co_await catalogue_.perform(title, values);
        });
    }

    IntentCatalogue catalogue_;
};

TEST_F(IntentCatalogueTest, DescribesActionsWithTheirParametersInOrder) {
    const auto* paint = catalogue_.intent("Paint");
    ASSERT_NE(paint, nullptr);
    EXPECT_EQ(paint->typeName, "Paint");
    ASSERT_EQ(paint->parameters.size(), 4u);
    const auto& colour = paint->parameters[0];
    EXPECT_EQ(colour.name, "colour");
    EXPECT_EQ(colour.kind, ValueKind::entity);
    EXPECT_EQ(colour.entityType, "Colour");
    EXPECT_FALSE(colour.isRequired);
    EXPECT_EQ(paint->parameters[1].name, "label");
    EXPECT_TRUE(paint->parameters[1].isRequired);
    EXPECT_EQ(paint->parameters[2].defaultValue, std::optional<IntentValue>(2.0));
    EXPECT_EQ(paint->parameters[3].defaultValue, std::optional<IntentValue>(true));
    EXPECT_EQ(catalogue_.intent("Show")->predictions, std::vector<std::vector<std::string>>{{"times"}});
    EXPECT_EQ(catalogue_.intent("Paint it black"), nullptr);
    EXPECT_EQ(catalogue_.intents().size(), 2u);
    EXPECT_EQ(catalogue_.entityDisplayName("Colour"), "Colour");
    EXPECT_EQ(catalogue_.entityDisplayName("Shade"), std::nullopt);
}

TEST_F(IntentCatalogueTest, DefaultsFillWhatNobodyGave) {
    const auto made = catalogue_.make("Paint", {{"label", std::string("Hi")}, {"coats", 3.0}});
    auto& paint = dynamic_cast<Paint&>(*made);
    EXPECT_EQ(*paint.label, "Hi");
    EXPECT_EQ(*paint.coats, 3.0);
    EXPECT_TRUE(*paint.glossy);
    EXPECT_FALSE(paint.colour.wrappedValue());
}

TEST_F(IntentCatalogueTest, SummaryTakesTheSentenceOfWhetherTheParameterHasAValue) {
    const Colour red{"red"};
    const struct {
        IntentValues values;
        const char* summary;
    } rows[] = {
        {{{"label", std::string("Hi")}}, "Paint Hi with 2 coats, Glossy."},
        {{{"glossy", false}, {"coats", 2.5}}, "Paint [Label] with 2.5 coats, Matt."},
        {{{"label", std::string("Hi")}, {"colour", red.entityValue()}}, "Paint Hi in Colour red."},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(catalogue_.summary("Paint", row.values), row.summary);
    }
    const auto paint = catalogue_.make("Paint", {});
    const auto summary = Paint::parameterSummary();
    EXPECT_EQ(summary.chosen(*paint).listed, (std::vector<std::string>{"colour", "coats"}));
    EXPECT_EQ(catalogue_.predictions("Show", {{"times", 3.0}}), (std::vector<DisplayRepresentation>{{"Show 3", ""}}));
}

TEST_F(IntentCatalogueTest, RunsTheActionAndHandsBackItsValue) {
    const auto result = perform("Paint", {{"label", std::string("Hi")}});
    ASSERT_TRUE(result.value);
    EXPECT_EQ(*result.value, Colour{"Hi"}.entityValue());
    EXPECT_EQ(happened(), std::vector<std::string>{"painted Hi"});
}

TEST_F(IntentCatalogueTest, AnActionThatOpensTheApplicationHasItOpenedFirst) {
    EXPECT_FALSE(perform("Show", {}).value);
    perform("Paint", {{"label", std::string("Hi")}});
    EXPECT_EQ(happened(), (std::vector<std::string>{"application opened", "shown", "painted Hi"}));
}

TEST_F(IntentCatalogueTest, AMissingRequiredValueIsAskedForBeforeAnythingRuns) {
    try {
        perform("Paint", {{"coats", 1.0}});
        ADD_FAILURE() << "the action ran";
    } catch (const MissingParameter& missing) {
        EXPECT_EQ(missing.parameter(), "label");
        EXPECT_EQ(missing.requestDialog(), "What should it say?");
    }
    EXPECT_EQ(happened(), std::vector<std::string>{});
}

TEST_F(IntentCatalogueTest, FailuresReachTheUserAsTheirText) {
    const struct {
        const char* label;
        const char* text;
    } rows[] = {
        {"out of paint", "The paint ran out."},
        {"spilt", "The tin fell over."},
    };
    for (const auto& row : rows) {
        try {
            perform("Paint", {{"label", std::string(row.label)}});
            ADD_FAILURE() << row.label << " did not fail";
        } catch (const IntentFailure& failure) {
            EXPECT_STREQ(failure.what(), row.text);
        }
    }
}

TEST_F(IntentCatalogueTest, UnknownNamesAndValuesOfTheWrongKindAreRefused) {
    EXPECT_THROW(static_cast<void>(catalogue_.make("Sculpt", {})), std::invalid_argument);
    EXPECT_THROW(static_cast<void>(catalogue_.summary("Sculpt", {})), std::invalid_argument);
    EXPECT_THROW(perform("Sculpt", {}), std::invalid_argument);
    EXPECT_THROW(static_cast<void>(catalogue_.make("Paint", {{"brush", 1.0}})), std::invalid_argument);
    EXPECT_THROW(static_cast<void>(catalogue_.make("Paint", {{"coats", std::string("two")}})), std::invalid_argument);
    const EntityValue shade{"Shade", "dark", {"Dark", {}}, {}};
    EXPECT_THROW(static_cast<void>(catalogue_.make("Paint", {{"colour", shade}})), std::invalid_argument);
    EXPECT_EQ(happened(), std::vector<std::string>{});
}

TEST_F(IntentCatalogueTest, AnswersEntityQueriesAsValues) {
    const std::vector<std::string> identifiers{"red", "blue"};
    const auto found = MainLoop::runOnMainActor([&]() -> concurrency::Task<std::vector<EntityValue>> {
        co_return co_await catalogue_.entities("Colour", identifiers);
    });
    EXPECT_EQ(found, (std::vector<EntityValue>{Colour{"red"}.entityValue(), Colour{"blue"}.entityValue()}));

    const auto suggested = MainLoop::runOnMainActor([&]() -> concurrency::Task<EntityCollection> {
        co_return co_await catalogue_.suggestedEntities("Colour");
    });
    ASSERT_EQ(suggested.size(), 2u);
    EXPECT_EQ(suggested[0].title, "Warm");
    EXPECT_EQ(suggested[1].items, (std::vector<EntityValue>{Colour{"blue"}.entityValue(), Colour{"teal"}.entityValue()}));

    const auto matching = MainLoop::runOnMainActor([&]() -> concurrency::Task<EntityCollection> {
        co_return co_await catalogue_.entitiesMatching("Colour", "ochre");
    });
    ASSERT_EQ(matching.size(), 1u);
    EXPECT_EQ(matching[0].title, std::nullopt);
    EXPECT_EQ(matching[0].items, std::vector<EntityValue>{Colour{"ochre"}.entityValue()});

    EXPECT_THROW(MainLoop::runOnMainActor([&]() -> concurrency::Task<EntityCollection> {
                     co_return co_await catalogue_.suggestedEntities("Shade");
                 }),
                 std::invalid_argument);
}

}  // namespace
}  // namespace appintents
