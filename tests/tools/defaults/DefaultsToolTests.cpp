// The defaults tool run as a user runs it: a separate process on the suite
// that this process reads and writes through UserDefaults.

#include "platform/runtime/foundation/defaults/AppGroup.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "tests/support/ScopedAppGroupDirectory.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/Subprocess.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
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

// The tool with its standard input read from a file, through the shell.
Subprocess::Outcome defaultsReading(const std::filesystem::path& input, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"/bin/sh", "-c", "input=$1; shift; exec \"$@\" < \"$input\"", "sh",
                                         input.string(), KESTROVA_DEFAULTS_TOOL});
    return Subprocess::run(arguments);
}

// The outcome of a run of the tool, and its peak resident size in KiB (-1
// when it was not reported).
std::pair<Subprocess::Outcome, long> measuredDefaults(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {KESTROVA_PEAK_RESIDENT, KESTROVA_DEFAULTS_TOOL});
    auto outcome = Subprocess::run(arguments);
    constexpr std::string_view label = "peak resident KiB: ";
    const auto at = outcome.errors.rfind(label);
    if (at == std::string::npos) {
        return {outcome, -1};
    }
    const long kilobytes = std::stol(outcome.errors.substr(at + label.size()));
    outcome.errors.erase(at);
    return {outcome, kilobytes};
}

std::string contentsOf(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream contents;
    contents << stream.rdbuf();
    return contents.str();
}

std::string repeated(std::string_view text, std::size_t count) {
    std::string result;
    for (std::size_t i = 0; i < count; ++i) {
        result += text;
    }
    return result;
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

    // One key is shown as every key is, on a line of its own.
    const auto one = defaults({"read", "note"});
    EXPECT_EQ(one.output, "two\\nlines\\\\ and\\ta tab\n");
    EXPECT_EQ(defaults({"read", "icon"}).output, "<89504e47>\n");
    suite.set(Data("{\n  \"id\": 7\r\n}\x1b"), "pretty");
    EXPECT_EQ(defaults({"read", "pretty"}).output, "{\\n  \"id\": 7\\r\\n}\\x1b\n");
}

// The tool steps over runs of plain bytes a word (8 bytes) at a time and
// writes in blocks of 64 KiB: what needs escaping, or makes data no UTF-8, is
// put on either side of those edges.
TEST_F(DefaultsToolTest, EscapesAndChecksValuesAcrossTheEdgesOfItsRuns) {
    struct Case {
        std::string name;
        std::string stored;
        std::string read;
    };
    const std::string run(1000, 'a');
    const std::string block(64 * 1024, 'b');
    std::vector<Case> cases = {
        {"escape first", "\\abcdefghijklmnop", "\\\\abcdefghijklmnop"},
        {"escape last", "abcdefghijklmnop\n", "abcdefghijklmnop\\n"},
        {"only escapes", std::string("\\\n\r\t\x7f") + '\0', "\\\\\\n\\r\\t\\x7f\\x00"},
        {"one control byte in a long run", run + '\x01' + run, run + "\\x01" + run},
        {"DEL beside non-ASCII", "caf\xc3\xa9\x7f", "caf\xc3\xa9\\x7f"},
        {"invalid UTF-8 at the end of a long run", run + "\xc3", "<" + repeated("61", run.size()) + "c3>"},
        {"an escape across the end of a block", block.substr(1) + "\n" + "c", block.substr(1) + "\\nc"},
        {"a surrogate inside text", "ab\xed\xa0\x80" "cdef", "<6162eda08063646566>"},
        {"an overlong form inside text", "ab\xe0\x80\xaf" "cdef", "<6162e080af63646566>"},
        {"past U+10FFFF inside text", "ab\xf4\x90\x80\x80" "cdef", "<6162f490808063646566>"},
        {"hex across the end of a block", block.substr(1) + "\xff", "<" + repeated("62", block.size() - 1) + "ff>"},
    };
    // A 4-byte sequence, and one cut short, at every offset within a word;
    // an escape at every offset too.
    const std::string grinning = "\xf0\x9f\x98\x80";
    for (std::size_t at = 0; at <= 16; ++at) {
        const std::string before(at, 'x');
        const std::string after(16 - at, 'y');
        cases.push_back({"4-byte sequence at " + std::to_string(at), before + grinning + after, before + grinning + after});
        cases.push_back({"tab at " + std::to_string(at), before + '\t' + after, before + "\\t" + after});
        cases.push_back({"3 of 4 bytes at the end at " + std::to_string(at), before + grinning.substr(0, 3),
                         "<" + repeated("78", at) + "f09f98>"});
        cases.push_back({"3 of 4 bytes before text at " + std::to_string(at), before + grinning.substr(0, 3) + "yyyy",
                         "<" + repeated("78", at) + "f09f9879797979>"});
    }
    UserDefaults suite(groupSuite);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        suite.set(Data(c.stored), "value");
        const auto outcome = defaults({"read", "value"});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
        EXPECT_EQ(outcome.output, c.read + "\n");
    }
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
        {{"write", "key", "-date", "-"}, 2, "unknown kind \"-date\""},
        {{"-suite", "../escape", "write", "key", "value"}, 2, "\"../escape\" cannot name a defaults suite"},
        {{"-suite", ".hidden", "read"}, 2, "cannot name a defaults suite"},
        {{"-suite", "", "list"}, 2, "a defaults suite needs a name"},
        {{"-suite", "a/b", "delete", "key"}, 2, "cannot name a defaults suite"},
        {{"read", "token"}, 1, "the suite \"" + groupSuite + "\" does not exist"},
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
    struct Case {
        std::string contents;
        std::string cause;
    };
    const Case cases[] = {
        {"this is no database", "file is not a database"},
        {"", "the file is empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << c.contents;
        const auto modified = std::filesystem::last_write_time(file) - std::chrono::hours(1);
        std::filesystem::last_write_time(file, modified);

        for (const std::vector<std::string>& arguments :
             {std::vector<std::string>{"read"}, {"read", "token"}, {"list"}, {"write", "token", "abc"},
              {"delete", "token"}}) {
            const auto outcome = defaults(arguments);
            EXPECT_EQ(outcome.exitCode, 1) << arguments.front();
            EXPECT_THAT(outcome.errors, HasSubstr(file.string()));
            EXPECT_THAT(outcome.errors, HasSubstr(c.cause));
        }
        EXPECT_EQ(contentsOf(file), c.contents);
        EXPECT_EQ(std::filesystem::last_write_time(file), modified);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory_.path()), {}), 1)
            << "files beside the suite";
    }
}

TEST_F(DefaultsToolTest, RefusesToWriteIntoADamagedSuiteAndLeavesItAlone) {
    const auto file = UserDefaults::databaseFile(groupSuite);
    {
        UserDefaults suite(groupSuite);
        suite.set(Data(std::string(300 * 1024, 'u')), "user");
        suite.set(std::string("abc"), "token");
    }
    // A page in the middle of the file belongs to the user's value.
    constexpr std::size_t pageSize = 4096;
    std::string contents = contentsOf(file);
    const std::size_t page = contents.size() / pageSize / 2;
    std::fill_n(contents.begin() + static_cast<std::ptrdiff_t>(page * pageSize), pageSize, '\x5a');
    std::ofstream(file, std::ios::binary | std::ios::trunc) << contents;
    const testsupport::ScratchDirectory scratch;
    const auto input = scratch.write("input", "def");

    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string output;
    };
    const Case cases[] = {
        {{"write", "token", "def"}, 1, ""},
        {{"write", "new", "-string", "-"}, 1, ""},
        {{"delete", "token"}, 1, ""},
        {{"read", "user"}, 1, ""},
        {{"read"}, 1, ""},
        // What does not touch the damaged value still reads.
        {{"read", "token"}, 0, "abc\n"},
        {{"list"}, 0, "token\tstring\nuser\tdata\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const auto outcome = defaultsReading(input, c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_EQ(outcome.output, c.output);
        if (c.exitCode != 0) {
            EXPECT_THAT(outcome.errors, HasSubstr(file.string()));
            EXPECT_THAT(outcome.errors, HasSubstr("database disk image is malformed"));
        }
    }
    EXPECT_TRUE(contentsOf(file) == contents) << "the damaged file was changed";
    EXPECT_FALSE(std::filesystem::exists(file.string() + "-wal"));
}

TEST_F(DefaultsToolTest, TakesAValueFromStandardInput) {
    // Beyond what one argument may hold (128 KiB), as the cached user is.
    std::string user(5 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < user.size(); ++i) {
        user[i] = static_cast<char>(i * 131 + i / 8191);
    }
    const std::string longText = std::string(200 * 1024, 'x') + "\nend\n";
    struct Case {
        const char* name;
        std::vector<std::string> kind;
        std::string input;
        DefaultsValue stored;
    };
    const Case cases[] = {
        {"data of several MB", {"-data"}, user, Data(user)},
        {"no data", {"-data"}, "", Data()},
        {"long text", {"-string"}, longText, longText},
        {"text without a kind", {}, "line\n", std::string("line\n")},
        {"a lone dash", {}, "-", std::string("-")},
        {"integer", {"-int"}, "-42\n", std::int64_t{-42}},
        {"Boolean", {"-bool"}, "yes\r\n", true},
        {"float", {"-float"}, "2.5", 2.5},
    };
    const testsupport::ScratchDirectory scratch;
    const UserDefaults suite(groupSuite);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> write = {"write", "key"};
        write.insert(write.end(), c.kind.begin(), c.kind.end());
        write.push_back("-");
        const auto outcome = defaultsReading(scratch.write("input", c.input), write);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
        EXPECT_EQ(outcome.output, "");
        EXPECT_EQ(suite.object("key"), c.stored);
    }
}

TEST_F(DefaultsToolTest, RefusesStandardInputItCannotUseAndWritesNothing) {
    const testsupport::ScratchDirectory scratch;
    const UserDefaults suite(groupSuite);
    struct Case {
        const char* name;
        std::filesystem::path input;
        std::vector<std::string> arguments;
        int exitCode;
        std::string message;
    };
    const Case cases[] = {
        {"not an integer", scratch.write("twelve", "12x\n"), {"write", "key", "-int", "-"}, 2,
         "\"12x\" is not an integer"},
        {"two lines for a number", scratch.write("lines", "1\n\n"), {"write", "key", "-int", "-"}, 2,
         "is not an integer"},
        {"not a Boolean", scratch.write("maybe", "maybe"), {"write", "key", "-bool", "-"}, 2,
         "\"maybe\" is not a Boolean"},
        {"a directory", scratch.path(), {"write", "key", "-string", "-"}, 1,
         "cannot read the value from standard input: Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto outcome = defaultsReading(c.input, c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_THAT(outcome.errors, HasSubstr(c.message));
        EXPECT_EQ(suite.object("key"), std::nullopt);
    }
}

TEST_F(DefaultsToolTest, ListsAndDeletesWithoutLoadingTheValues) {
    constexpr std::size_t valueSize = 64 * 1024 * 1024;
    UserDefaults suite(groupSuite);
    suite.set(Data(std::string(valueSize, 'u')), "user");
    suite.set(std::string("abc"), "token");

    const auto [list, listPeak] = measuredDefaults({"list"});
    EXPECT_EQ(list.exitCode, 0) << list.errors;
    const auto [removal, removalPeak] = measuredDefaults({"delete", "user"});
    EXPECT_EQ(removal.exitCode, 0) << removal.errors;
    EXPECT_EQ(suite.object("user"), std::nullopt);
    EXPECT_EQ(suite.string("token"), "abc");
    RecordProperty("list peak KiB", static_cast<int>(listPeak));
    RecordProperty("delete peak KiB", static_cast<int>(removalPeak));
    // A tool that held the value would have to be larger than it.
    EXPECT_GT(listPeak, 0);
    EXPECT_LT(listPeak, static_cast<long>(valueSize / 1024 / 2));
    EXPECT_GT(removalPeak, 0);
    EXPECT_LT(removalPeak, static_cast<long>(valueSize / 1024 / 2));
}

TEST_F(DefaultsToolTest, ExplainsItself) {
    for (const char* flag : {"--help", "-h", "help"}) {
        const auto outcome = defaults({flag});
        EXPECT_EQ(outcome.exitCode, 0) << flag;
        EXPECT_THAT(outcome.output, HasSubstr("usage: defaults [-suite NAME] COMMAND"));
        EXPECT_THAT(outcome.output, HasSubstr(groupSuite));
        EXPECT_THAT(outcome.output, HasSubstr("valid UTF-8"));
        EXPECT_THAT(outcome.output, HasSubstr("write KEY [-KIND] -"));
    }
}

}  // namespace
}  // namespace foundation
