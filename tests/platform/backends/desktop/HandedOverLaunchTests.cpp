#include "platform/backends/desktop/HandedOverLaunch.hpp"

#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using desktop::HandedOverLaunch;

std::optional<HandedOverLaunch> fromArguments(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv{"kestrova"};
    for (const auto& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);
    return HandedOverLaunch::fromCommandLine(static_cast<int>(argv.size()) - 1, argv.data());
}

// Only a command line of plain arguments is handed over; one option anywhere leaves the whole command
// line to the application.
TEST(HandedOverLaunchTest, AnyOptionLeavesTheCommandLineToTheApplication) {
    const std::vector<std::vector<std::string>> withOptions{
        {"--help"},
        {"kestrova:///open?url=x", "--gapplication-service"},
        {"-"},
        {"--", "kestrova:///open?url=x"},
        {"--display=:1", "kestrova:///open?url=x"},
    };
    for (const auto& arguments : withOptions) {
        SCOPED_TRACE(arguments.front());
        EXPECT_EQ(fromArguments(arguments), std::nullopt);
    }
}

TEST(HandedOverLaunchTest, ArgumentsBecomeURIsAsGIOReadsThemAndNoneIsAnActivation) {
    testsupport::ScratchDirectory scratch;
    const auto startedIn = std::filesystem::current_path();
    std::filesystem::current_path(scratch.path());
    const std::string here = "file://" + scratch.path().string();
    EXPECT_EQ(fromArguments({}), HandedOverLaunch{});
    EXPECT_EQ(fromArguments({"kestrova:///open?url=https%3A%2F%2Fkestrova.example%2Fa%20b", "notes/day one.txt",
                             "/tmp/x.txt"}),
              (HandedOverLaunch{{"kestrova:///open?url=https%3A%2F%2Fkestrova.example%2Fa%20b",
                                 here + "/notes/day%20one.txt", "file:///tmp/x.txt"}}));
    std::filesystem::current_path(startedIn);
}

// A path of any bytes has a file URI, but a link that is no UTF-8 text cannot be handed over.
TEST(HandedOverLaunchTest, ALinkThatIsNoUTF8TextIsRefusedByName) {
    EXPECT_EQ(fromArguments({"/tmp/caf\xe9"}), (HandedOverLaunch{{"file:///tmp/caf%E9"}}));
    try {
        (void)fromArguments({"kestrova:///open?url=x", "kestrova:///caf\xe9"});
        ADD_FAILURE() << "the link was taken";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), "cannot hand over \"kestrova:///caf\\351\": a link must be UTF-8 text");
    }
}

}  // namespace
