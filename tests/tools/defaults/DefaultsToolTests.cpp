// The defaults tool run as a user runs it: a separate process on the suite
// that this process reads and writes through UserDefaults.

#include "platform/foundation/AppGroup.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "tests/support/ScopedAppGroupDirectory.hpp"
#include "tests/support/Subprocess.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace foundation {
namespace {

using ::testing::HasSubstr;
using testsupport::Subprocess;

const std::string groupSuite(AppGroup::identifier());

Subprocess::Outcome defaults(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), KESTROVA_DEFAULTS_TOOL);
    return Subprocess::run(arguments);
}

std::string contentsOf(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream contents;
    contents << stream.rdbuf();
    return contents.str();
}

class DefaultsToolTest : public ::testing::Test {
protected:
    testsupport::ScopedAppGroupDirectory directory_;
};

TEST_F(DefaultsToolTest, WritesEachKindAndReadsItBack) {
    struct Case {
        std::vector<std::string> write;
        DefaultsValue stored;
        std::string read;
    };
    const Case cases[] = {
        {{"-string", "hello world"}, std::string("hello world"), "hello world\n"},
        {{"plain text"}, std::string("plain text"), "plain text\n"},
        {{"-string", "-int"}, std::string("-int"), "-int\n"},
        {{"-data", "00FF10"}, Data(std::string_view("\x00\xff\x10", 3)), "<00ff10>\n"},
        {{"-data", "7b226964223a317d"}, Data(R"({"id":1})"), "{\"id\":1}\n"},
        {{"-data", ""}, Data(), "\n"},
        {{"-bool", "YES"}, true, "1\n"},
        {{"-boolean", "false"}, false, "0\n"},
        {{"-int", "-9223372036854775808"},
         std::numeric_limits<std::int64_t>::min(),
         "-9223372036854775808\n"},
        {{"-integer", "42"}, std::int64_t{42}, "42\n"},
        {{"-float", "2.5"}, 2.5, "2.5\n"},
        {{"-float", "-1e-7"}, -1e-7, "-1e-07\n"},
    };
    const UserDefaults suite(groupSuite);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.read);
        std::vector<std::string> write = {"write", "key"};
        write.insert(write.end(), c.write.begin(), c.write.end());
        const auto written = defaults(write);
        ASSERT_EQ(written.exitCode, 0) << written.errors;
        EXPECT_EQ(suite.object("key"), c.stored);

        const auto read = defaults({"read", "key"});
        EXPECT_EQ(read.exitCode, 0) << read.errors;
        EXPECT_EQ(read.output, c.read);
    }
}

TEST_F(DefaultsToolTest, ReadsAndListsEveryKeyOnALineOfItsOwn) {
    UserDefaults suite(groupSuite);
    suite.set(std::string("abc"), "token");
    suite.set(std::string("two\nlines\\ and\ta tab"), "note");
    suite.set(Data(R"({"id":7,"journals":[]})"), "user");
    suite.set(true, "beta");
    suite.set(1.25, "pageZoom");
    suite.set(Data(std::string_view("\x89PNG", 4)), "icon");

    const auto all = defaults({"read"});
    EXPECT_EQ(all.exitCode, 0) << all.errors;
    EXPECT_EQ(all.output,
              "beta = 1\n"
              "icon = <89504e47>\n"
              "note = two\\nlines\\\\ and\\ta tab\n"
              "pageZoom = 1.25\n"
              "token = abc\n"
              "user = {\"id\":7,\"journals\":[]}\n");

    const auto list = defaults({"list"});
    EXPECT_EQ(list.exitCode, 0) << list.errors;
    EXPECT_EQ(list.output,
              "beta\tbool\nicon\tdata\nnote\tstring\npageZoom\tdouble\ntoken\tstring\nuser\tdata\n");

    const auto one = defaults({"read", "note"});
    EXPECT_EQ(one.output, "two\nlines\\ and\ta tab\n");
}

TEST_F(DefaultsToolTest, DeletesAKeyThatExists) {
    UserDefaults suite(groupSuite);
    suite.set(std::string("abc"), "token");
    suite.set(std::string("stays"), "other");

    EXPECT_EQ(defaults({"delete", "token"}).exitCode, 0);
    EXPECT_EQ(suite.object("token"), std::nullopt);
    EXPECT_EQ(suite.string("other"), "stays");

    const auto again = defaults({"delete", "token"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_THAT(again.errors, HasSubstr("\"token\" does not exist"));
    const auto read = defaults({"read", "token"});
    EXPECT_EQ(read.exitCode, 1);
    EXPECT_EQ(read.output, "");
    EXPECT_THAT(read.errors, HasSubstr("\"token\" does not exist"));
}

TEST_F(DefaultsToolTest, SuiteOptionChoosesAnotherSuite) {
    EXPECT_EQ(defaults({"-suite", "group.test.other", "write", "key", "-int", "5"}).exitCode, 0);
    EXPECT_EQ(UserDefaults("group.test.other").integer("key"), 5);

    const auto elsewhere = defaults({"read", "key"});
    EXPECT_EQ(elsewhere.exitCode, 1);
    EXPECT_THAT(elsewhere.errors, HasSubstr("the suite \"" + groupSuite + "\" does not exist"));
    EXPECT_FALSE(std::filesystem::exists(UserDefaults::databaseFile(groupSuite)));
}

TEST_F(DefaultsToolTest, RefusesBadCommandLinesAndChangesNothing) {
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string message;
    };
    const Case cases[] = {
        {{}, 2, "no command given"},
        {{"frobnicate"}, 2, "unknown command \"frobnicate\""},
        {{"-suite"}, 2, "-suite needs the suite's name"},
        {{"read", "a", "b"}, 2, "read takes at most one key"},
        {{"write", "key"}, 2, "write takes a key"},
        {{"write", "key", "-int", "12x"}, 2, "\"12x\" is not an integer"},
        {{"write", "key", "-int", "9223372036854775808"}, 2, "is not an integer"},
        {{"write", "key", "-data", "abc"}, 2, "\"abc\" is not hexadecimal data"},
        {{"write", "key", "-data", "zz"}, 2, "\"zz\" is not hexadecimal data"},
        {{"write", "key", "-bool", "maybe"}, 2, "\"maybe\" is not a Boolean"},
        {{"write", "key", "-float", "nan"}, 2, "\"nan\" is not a finite decimal number"},
        {{"write", "key", "-float", "1e999"}, 2, "is not a finite decimal number"},
        {{"write", "key", "-date", "today"}, 2, "unknown kind \"-date\""},
        {{"delete"}, 2, "delete takes one key"},
        {{"list", "extra"}, 2, "list takes no arguments"},
        {{"read", "token"}, 1, "the suite \"" + groupSuite + "\" does not exist"},
        {{"-suite", "../escape", "write", "key", "value"}, 1, "cannot name a defaults suite"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const auto outcome = defaults(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_THAT(outcome.errors, HasSubstr(c.message));
        if (c.exitCode == 2) {
            EXPECT_THAT(outcome.errors, HasSubstr("usage: defaults"));
        }
        EXPECT_EQ(outcome.output, "");
    }
    EXPECT_TRUE(std::filesystem::is_empty(directory_.path()));
}

TEST_F(DefaultsToolTest, ReportsASuiteThatIsNoDatabaseAndLeavesItAlone) {
    const auto file = UserDefaults::databaseFile(groupSuite);
    std::ofstream(file, std::ios::binary) << "this is no database";

    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"read"}, {"list"}, {"write", "token", "abc"}, {"delete", "token"}}) {
        const auto outcome = defaults(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments.front();
        EXPECT_THAT(outcome.errors, HasSubstr(file.string()));
        EXPECT_THAT(outcome.errors, HasSubstr("file is not a database"));
    }
    EXPECT_EQ(contentsOf(file), "this is no database");
}

TEST_F(DefaultsToolTest, ExplainsItself) {
    for (const char* flag : {"--help", "-h", "help"}) {
        const auto outcome = defaults({flag});
        EXPECT_EQ(outcome.exitCode, 0) << flag;
        EXPECT_THAT(outcome.output, HasSubstr("usage: defaults [-suite NAME] COMMAND"));
        EXPECT_THAT(outcome.output, HasSubstr(groupSuite));
        EXPECT_THAT(outcome.output, HasSubstr("valid UTF-8"));
    }
}

}  // namespace
}  // namespace foundation
