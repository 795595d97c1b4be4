#include "tests/support/SampleIntents.hpp"

#include "platform/kits/appintents/CustomLocalizedStringResourceConvertible.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace testsupport {
namespace {

using namespace appintents;

struct Notebook {
    static constexpr std::string_view typeName = "Notebook";
    static std::string typeDisplayName() { return "Notebook"; }

    std::string id;
    std::string title;

    [[nodiscard]] std::string identifier() const { return id; }
    [[nodiscard]] DisplayRepresentation displayRepresentation() const { return {title, std::nullopt}; }
    [[nodiscard]] EntityValue entityValue() const { return {std::string(typeName), id, displayRepresentation(), {}}; }
    static Notebook fromValue(const EntityValue& value) { return {value.identifier, value.display.title}; }
};

const std::array<Notebook, 3> notebooks{{{"3", "Music"}, {"7", "Workout"}, {"12", "Workbench"}}};

struct Page {
    static constexpr std::string_view typeName = "Page";
    static std::string typeDisplayName() { return "Page"; }

    std::int64_t id = 0;
    std::int64_t notebookId = 0;

    [[nodiscard]] std::string identifier() const { return std::to_string(id); }
    [[nodiscard]] DisplayRepresentation displayRepresentation() const { return {"Page #" + identifier(), std::nullopt}; }
    [[nodiscard]] EntityValue entityValue() const {
        return {std::string(typeName), identifier(), displayRepresentation(),
                {{"id", "ID", id}, {"notebookId", "Notebook ID", notebookId}}};
    }
    static Page fromValue(const EntityValue& value) {
        const auto id = value.property<std::int64_t>("id");
        const auto notebookId = value.property<std::int64_t>("notebookId");
        if (!id || !notebookId) {
            throw std::invalid_argument("a page has an ID and a Notebook ID");
        }
        return {*id, *notebookId};
    }
};

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    return !std::ranges::search(text, part, [](unsigned char a, unsigned char b) {
               return std::tolower(a) == std::tolower(b);
           }).empty();
}

class NotebookQuery final : public EntityStringQuery<Notebook> {
public:
    concurrency::Task<std::vector<Notebook>> entities(std::vector<std::string> identifiers) override {
        std::vector<Notebook> found;
        for (const auto& notebook : notebooks) {
            if (std::ranges::find(identifiers, notebook.id) != identifiers.end()) {
                found.push_back(notebook);
            }
        }
        co_return found;
    }
    concurrency::Task<IntentItemCollection<Notebook>> suggestedEntities() override {
        co_return IntentItemCollection<Notebook>(
            {{"Today", {notebooks[1]}}, {"Not Today", {notebooks[0], notebooks[2]}}});
    }
    concurrency::Task<IntentItemCollection<Notebook>> entitiesMatching(std::string text) override {
        std::vector<Notebook> found;
        for (const auto& notebook : notebooks) {
            if (containsIgnoringCase(notebook.title, text)) {
                found.push_back(notebook);
            }
        }
        co_return IntentItemCollection<Notebook>::list(std::move(found));
    }
};

class WritePage final : public AppIntent {
public:
    static constexpr std::string_view typeName = "WritePage";
    static const IntentMetadata& metadata() {
        static const IntentMetadata metadata{"Write Page", "Writes a page into a notebook.", "WritePageIntent", false, true};
        return metadata;
    }
    static ParameterSummary parameterSummary() {
        using P = ParameterReference;
        return ParameterSummary::when(
            "attachment",
            {{"Write ", P{"text"}, " in ", P{"notebook"}, " with ", P{"attachment"}, "."}, {"isPrivate"}},
            {{"Write ", P{"text"}, " in ", P{"notebook"}, "."}, {"attachment", "isPrivate"}});
    }

    IntentParameter<Notebook> notebook{*this, "notebook",
                                       {"Notebook", "Where the page goes.", "Which notebook?", std::nullopt, {}}};
    IntentParameter<std::string> text{*this, "text", {"Text", std::nullopt, "What should the page say?", std::nullopt, {}}};
    IntentParameter<bool> isPrivate{*this, "isPrivate", {"Private", std::nullopt, std::nullopt, std::pair("Hidden", "Shown"), {}}, true};
    IntentParameter<IntentFile, true> attachment{
        *this, "attachment", {"Attachment", std::nullopt, std::nullopt, std::nullopt, {"public.item"}}};

    concurrency::Task<IntentResult> perform() override {
        std::string run = "Write Page: notebook " + notebook->id + ", text \"" + *text + "\", " +
                          (*isPrivate ? "private" : "public");
        if (const auto& file = attachment.wrappedValue()) {
            run += ", " + file->filename + " (" + (file->type ? file->type->identifier() : "no type") + ", " +
                   std::string(file->data.view()) + ")";
        }
        sampleIntentRuns().push_back(run);
        co_return IntentResult::result(Page{nextPage++, std::stoll(notebook->id)}.entityValue());
    }

    [[nodiscard]] std::vector<IntentPrediction> predictionConfiguration() const override {
        return {{{"notebook", "text"}, [this] {
                     return DisplayRepresentation{"Write " + text.wrappedValue().value_or("") + " in " +
                                                      (notebook.wrappedValue() ? notebook->title : "a notebook"),
                                                  std::nullopt};
                 }}};
    }

private:
    static inline std::int64_t nextPage = 345;
};

class TagPage final : public AppIntent {
public:
    static constexpr std::string_view typeName = "TagPage";
    static const IntentMetadata& metadata() {
        static const IntentMetadata metadata{"Tag Page", std::nullopt, std::nullopt, false, false};
        return metadata;
    }
    static ParameterSummary parameterSummary() {
        return ParameterSummary::always({{"Tag ", ParameterReference{"page"}, " with ", ParameterReference{"tag"}}, {}});
    }

    IntentParameter<Page> page{*this, "page", {"Page", std::nullopt, std::nullopt, std::nullopt, {}}};
    IntentParameter<double> tag{*this, "tag", {"Tag", std::nullopt, "Which tag?", std::nullopt, {}}};

    concurrency::Task<IntentResult> perform() override {
        sampleIntentRuns().push_back("Tag Page: page " + page->identifier() + " of notebook " +
                                     std::to_string(page->notebookId) + ", tag " + displayText(*tag, std::nullopt));
        co_return IntentResult::result();
    }
};

class ClosedNotebook final : public std::exception, public CustomLocalizedStringResourceConvertible {
public:
    [[nodiscard]] std::string localizedStringResource() const override { return "The notebook is closed."; }
};

class FailLoudly final : public AppIntent {
public:
    static constexpr std::string_view typeName = "FailLoudly";
    static const IntentMetadata& metadata() {
        static const IntentMetadata metadata{"Fail Loudly", std::nullopt, std::nullopt, false, false};
        return metadata;
    }
    static ParameterSummary parameterSummary() { return ParameterSummary::always({{"Fail."}, {}}); }

    concurrency::Task<IntentResult> perform() override {
        sampleIntentRuns().push_back("Fail Loudly");
        throw ClosedNotebook();
        co_return IntentResult::result();
    }
};

class ShowNotebook final : public AppIntent {
public:
    static constexpr std::string_view typeName = "ShowNotebook";
    static const IntentMetadata& metadata() {
        static const IntentMetadata metadata{"Show Notebook", std::nullopt, std::nullopt, true, false};
        return metadata;
    }
    static ParameterSummary parameterSummary() {
        return ParameterSummary::when("notebook", {{"Show ", ParameterReference{"notebook"}, "."}, {}}, {{"Show the notebooks."}, {}});
    }

    IntentParameter<Notebook, true> notebook{*this, "notebook", {"Notebook", std::nullopt, std::nullopt, std::nullopt, {}}};

    concurrency::Task<IntentResult> perform() override {
        sampleIntentRuns().push_back("Show Notebook: " + (notebook.wrappedValue() ? notebook->id : std::string("none")));
        co_return IntentResult::result();
    }
};

}  // namespace

void addSampleIntents(IntentCatalogue& catalogue) {
    catalogue.addEntity<Notebook>(std::make_shared<NotebookQuery>());
    catalogue.addEntity<Page>(nullptr);
    catalogue.addIntent<WritePage>();
    catalogue.addIntent<TagPage>();
    catalogue.addIntent<FailLoudly>();
    catalogue.addIntent<ShowNotebook>();
}

std::vector<std::string>& sampleIntentRuns() {
    static std::vector<std::string> runs;
    return runs;
}

}  // namespace testsupport
