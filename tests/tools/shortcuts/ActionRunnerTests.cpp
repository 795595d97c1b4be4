// The runner's commands for the application's own actions, over the actions of a notebook
// application in this process: what it lists, how it reads a command line of one or more steps,
// and what it does with a value that is missing, an entity to find and a failure.
#include "tools/shortcuts/ShortcutsRunner.hpp"

#include "platform/kits/appintents/InProcessIntentClient.hpp"
#include "tests/support/SampleIntents.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testsupport::sampleIntentRuns;

appintents::IntentCatalogue& catalogue() {
    static appintents::IntentCatalogue* const made = [] {
        auto* sample = new appintents::IntentCatalogue;
        testsupport::addSampleIntents(*sample);
        return sample;
    }();
    return *made;
}

struct Outcome {
    int exitCode;
    std::string output;
    std::string errors;
};

class ActionRunnerTest : public testing::Test {
protected:
    void SetUp() override { sampleIntentRuns().clear(); }

    static Outcome shortcuts(const std::vector<std::string>& arguments, const std::string& typed = "", bool interactive = false) {
        std::ostringstream output;
        std::ostringstream errors;
        std::istringstream input(typed);
        const std::vector<std::string_view> views(arguments.begin(), arguments.end());
        shortcuts_tool::ShortcutsRunner runner(
            output, errors, "/nonexistent/orvane",
            [] { return std::make_unique<appintents::InProcessIntentClient>(catalogue()); }, input, interactive);
        const int code = runner.run(views);
        return {code, output.str(), errors.str()};
    }

    testsupport::ScratchDirectory files_;
};

TEST_F(ActionRunnerTest, ListsEachActionWithItsSummariesParametersAndPredictions) {
    const auto run = shortcuts({"action", "list"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_THAT(run.output, HasSubstr("Write Page\n"
                                      "  Writes a page into a notebook.\n"
                                      "  summary with Attachment: Write [Text] in [Notebook] with [Attachment].  (then Private)\n"
                                      "  summary without: Write [Text] in [Notebook].  (then Attachment, Private)\n"
                                      "  --notebook: Notebook, an identifier, --notebook-search TEXT or @previous, required\n"
                                      "      Where the page goes.\n"
                                      "      asks \"Which notebook?\"\n"
                                      "  --text: Text, text, required\n"
                                      "      asks \"What should the page say?\"\n"
                                      "  --isPrivate: Private, true or false, required, default true\n"
                                      "  --attachment: Attachment, a file's path, then --type UTI or none, optional\n"
                                      "  prediction: Notebook, Text\n"
                                      "Tag Page\n"
                                      "  summary: Tag [Page] with [Tag]\n"
                                      "  --page: Page, an identifier, --page-search TEXT or @previous, required\n"
                                      "  --tag: Tag, a number, required\n"
                                      "      asks \"Which tag?\"\n"));
    EXPECT_THAT(run.output, HasSubstr("Show Notebook\n  brings the application forward\n"));
}

TEST_F(ActionRunnerTest, RunsAnActionWithAValueOfEachKindAndPrintsWhatItGaveBack) {
    const auto typed = files_.write("photo.png", "PNG!");
    const auto untyped = files_.write("notes.txt", "plain words");
    auto run = shortcuts({"action", "run", "Write Page", "--notebook", "7", "--text", "Ran 5 km", "--isPrivate", "false",
                          "--attachment", typed.string(), "--type", "public.jpeg"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_THAT(run.output, testing::MatchesRegex("Page #[0-9]+\n"));
    run = shortcuts({"action", "run", "Write Page", "--notebook", "3", "--text", "", "--attachment", untyped.string()});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_THAT(sampleIntentRuns(),
                ElementsAre("Write Page: notebook 7, text \"Ran 5 km\", public, photo.png (public.jpeg, PNG!)",
                            "Write Page: notebook 3, text \"\", private, notes.txt (public.plain-text, plain words)"));
}

TEST_F(ActionRunnerTest, HandsTheEntityOneStepGaveBackWholeToTheNext) {
    const auto run = shortcuts({"action", "run", "Write Page", "--notebook", "12", "--text", "x", "then", "Tag Page", "--page",
                                "@previous", "--tag", "-2.5"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(sampleIntentRuns().size(), 2u);
    const std::string page = run.output.substr(std::string("Page #").size(), run.output.size() - 7);
    EXPECT_EQ(run.output, "Page #" + page + "\n");
    EXPECT_EQ(sampleIntentRuns()[1], "Tag Page: page " + page + " of notebook 12, tag -2.5");
}

TEST_F(ActionRunnerTest, FindsAnEntityByASearchAndSaysWhichItTookOfSeveral) {
    auto run = shortcuts({"action", "run", "Write Page", "--notebook-search", "WORK", "--text", "x"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_THAT(run.output, HasSubstr("several of Notebook match \"WORK\": Workout (7), Workbench (12); taking Workout (7)\n"));
    run = shortcuts({"action", "run", "Write Page", "--notebook-search", "mus", "--text", "y"});
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_THAT(run.output, testing::Not(HasSubstr("several")));
    EXPECT_THAT(sampleIntentRuns(), ElementsAre(HasSubstr("notebook 7"), HasSubstr("notebook 3")));
}

TEST_F(ActionRunnerTest, FailsWithTheReasonWhenAStepCannotBeRunAndRunsNothingAfterIt) {
    struct Case {
        std::vector<std::string> arguments;
        std::string reason;
        std::vector<std::string> ran;
    };
    const std::vector<Case> cases = {
        {{"Write Page", "--notebook", "07", "--text", "x"}, "no Notebook has the identifier \"07\"", {}},
        {{"Write Page", "--notebook-search", "poetry", "--text", "x"}, "no Notebook matches \"poetry\"", {}},
        {{"Fail Loudly", "then", "Write Page", "--notebook", "7", "--text", "x"}, "The notebook is closed.", {"Fail Loudly"}},
        {{"Show Notebook", "then", "Tag Page", "--page", "@previous", "--tag", "1"},
         "the step before gave back nothing for --page",
         {"Show Notebook: none"}},
        {{"Write Page", "--notebook", "7"}, "\"Write Page\" needs a value for Text: What should the page say?", {}},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(testing::PrintToString(each.arguments));
        sampleIntentRuns().clear();
        std::vector<std::string> arguments{"action", "run"};
        arguments.insert(arguments.end(), each.arguments.begin(), each.arguments.end());
        const auto run = shortcuts(arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.errors, "shortcuts: " + each.reason + "\n");
        EXPECT_EQ(sampleIntentRuns(), each.ran);
    }
}

TEST_F(ActionRunnerTest, AsksForAMissingValueWithItsDialogOnATerminal) {
    auto run = shortcuts({"action", "run", "Write Page", "--text", "x", "then", "Tag Page", "--page", "@previous"}, "work\n7\n2\n",
                         true);
    EXPECT_EQ(run.exitCode, 1) << "an identifier that names no notebook fails the run";
    EXPECT_EQ(run.errors, "shortcuts: no Notebook has the identifier \"work\"\n");
    run = shortcuts({"action", "run", "Write Page", "--text", "x", "then", "Tag Page", "--page", "@previous"}, "7\n2\n", true);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_THAT(run.output, testing::MatchesRegex("Which notebook\\? Page #[0-9]+\nWhich tag\\? "));
    EXPECT_THAT(sampleIntentRuns(), ElementsAre(HasSubstr("notebook 7"), HasSubstr(", tag 2")));

    sampleIntentRuns().clear();
    run = shortcuts({"action", "run", "Write Page", "--notebook", "7"}, "", true);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.errors, HasSubstr("What should the page say? (no answer came)"));
    EXPECT_TRUE(sampleIntentRuns().empty());
}

TEST_F(ActionRunnerTest, RefusesCommandLinesItCannotReadBeforeAnythingRuns) {
    const std::string file = files_.write("a.txt", "a").string();
    const std::vector<std::vector<std::string>> cases = {
        {"action"},
        {"action", "fly"},
        {"action", "list", "all"},
        {"action", "run"},
        {"action", "run", "Nope"},
        {"action", "run", "Write Page", "notes"},
        {"action", "run", "Write Page", "--colour", "red"},
        {"action", "run", "Write Page", "--text"},
        {"action", "run", "Write Page", "--text", "a", "--text", "b"},
        {"action", "run", "Write Page", "--isPrivate", "maybe"},
        {"action", "run", "Write Page", "--isPrivate-search", "x"},
        {"action", "run", "Write Page", "--notebook", "@previous"},
        {"action", "run", "Write Page", "--type", "public.png"},
        {"action", "run", "Write Page", "--attachment", file, "--type", "public.png", "--type", "public.jpeg"},
        {"action", "run", "Write Page", "--attachment", "/nonexistent/file"},
        {"action", "run", "Write Page", "--notebook", "7", "--text", "x", "then"},
        {"action", "run", "Write Page", "--notebook", "7", "--text", "x", "then", "Nope"},
        {"action", "run", "Write Page", "--notebook", "7", "--text", "x", "then", "Write Page", "--text", "@previous"},
        {"action", "run", "Tag Page", "--tag", "three"},
        {"action", "run", "Tag Page", "--tag", "inf"},
        {"action", "run", "Tag Page", "--tag", ""},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        const auto run = shortcuts(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_THAT(run.errors, HasSubstr("usage: shortcuts run INTENT"));
        EXPECT_THAT(run.errors, HasSubstr("shortcuts action run NAME"));
    }
    EXPECT_TRUE(sampleIntentRuns().empty());
}

}  // namespace
