// The command line as a user runs it.

#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/Subprocess.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;
using testsupport::Subprocess;

Subprocess::Outcome widgethost(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), KESTROVA_WIDGETHOST_TOOL);
    return Subprocess::run(arguments);
}

TEST(WidgetHostProcessTest, ExitsWithTwoOnABadCommandLineAndZeroForHelp) {
    const auto bad = widgethost({"render", "DailyWidget", "--family", "systemSmall"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_THAT(bad.errors, HasSubstr("widgethost: render needs --family and --out\n"));
    EXPECT_THAT(bad.errors, HasSubstr("usage: widgethost render KIND"));
    EXPECT_EQ(bad.output, "");

    const auto help = widgethost({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.output, HasSubstr("usage: widgethost render KIND"));
    EXPECT_EQ(help.errors, "");
}

TEST(WidgetHostProcessTest, AnExtensionThatCannotBeStartedFailsWithTheReasonAndWritesNothing) {
    const testsupport::ScratchDirectory scratch;
    const auto out = scratch / "x.png";
    const auto run = widgethost({"render", "DailyWidget", "--family", "systemMedium", "--out", out.string(),
                                 "--extension", (scratch / "no-extension").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.errors, HasSubstr("widgethost: "));
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path())) << "no picture and no temporary file";
}

}  // namespace
