#include "tools/widgethost/CommandLine.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using widgethost::Command;

Command parse(const std::vector<std::string_view>& arguments) {
    return Command::parse(arguments);
}

TEST(CommandLineTest, ReadsARenderCommand) {
    const auto command = parse({"render", "JournalWidget", "--family", "systemSmall", "--scale", "2", "--snapshot",
                                "--journal", "12", "--out", "x.png", "--extension", "/bin/pellicor"});
    EXPECT_EQ(command.action, Command::Action::render);
    EXPECT_EQ(command.kind, "JournalWidget");
    EXPECT_EQ(command.family, widgetkit::WidgetFamily::systemSmall);
    EXPECT_EQ(command.scale, 2);
    EXPECT_EQ(command.entry, Command::Entry::snapshot);
    EXPECT_EQ(command.journal, "12");
    EXPECT_EQ(command.out, "x.png");
    EXPECT_EQ(command.extension, "/bin/pellicor");

    const auto plain = parse({"render", "DailyWidget", "--family", "systemMedium", "--out", "y.png"});
    EXPECT_EQ(plain.entry, Command::Entry::timeline) << "the timeline unless told otherwise";
    EXPECT_EQ(plain.scale, 1);
    EXPECT_EQ(parse({"show"}).action, Command::Action::show);
    EXPECT_EQ(parse({"--help"}).action, Command::Action::help);
}

TEST(CommandLineTest, RefusesWhatItCannotUnderstand) {
    const std::vector<std::vector<std::string_view>> cases = {
        {},
        {"draw"},
        {"render"},
        {"render", "--family", "systemSmall", "--out", "x.png"},
        {"render", "DailyWidget", "--out", "x.png"},
        {"render", "DailyWidget", "--family", "systemSmall"},
        {"render", "DailyWidget", "--family", "huge", "--out", "x.png"},
        {"render", "DailyWidget", "--family", "systemSmall", "--out", "x.png", "--scale", "3"},
        {"render", "DailyWidget", "--family", "systemSmall", "--out", "x.png", "--snapshot", "--preview"},
        {"render", "DailyWidget", "--family", "systemSmall", "--out"},
        {"render", "DailyWidget", "--family", "systemSmall", "--out", "x.png", "--colour", "red"},
        {"show", "--family", "systemSmall"},
        {"--help", "show"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        EXPECT_THROW(static_cast<void>(parse(arguments)), widgethost::UsageError);
    }
}

}  // namespace
