#include "platform/runtime/foundation/defaults/UserDefaults.hpp"

#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"
#include "tests/support/ForkedChild.hpp"
#include "tests/support/ScopedAppGroupDirectory.hpp"
#include "tests/support/ScopedEnvironment.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <limits>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

namespace foundation {
namespace {

using ::testing::AllOf;
using ::testing::AnyOf;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

const std::string suite = "group.test.defaults";

std::string contentsOf(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream contents;
    contents << stream.rdbuf();
    return contents.str();
}

void writeFile(const std::filesystem::path& file, std::string_view contents) {
    std::ofstream(file, std::ios::binary) << contents;
}

mode_t permissionsOf(const std::filesystem::path& path) {
    struct stat status {};
    EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

void executeSQL(const std::filesystem::path& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}


class UserDefaultsTest : public ::testing::Test {
protected:
    testsupport::ScopedAppGroupDirectory directory_;
};

TEST_F(UserDefaultsTest, TypedReadersConvertBetweenKinds) {
    constexpr auto largest = std::numeric_limits<std::int64_t>::max();
    constexpr auto smallest = std::numeric_limits<std::int64_t>::min();
    constexpr auto infinity = std::numeric_limits<double>::infinity();
    const auto text = [](const char* value) { return DefaultsValue(std::string(value)); };
    const auto integer = [](std::int64_t value) { return DefaultsValue(value); };
    struct Case {
        const char* key;
        std::optional<DefaultsValue> stored;
        std::optional<std::string> string;
        std::optional<Data> data;
        bool boolean;
        std::int64_t integer;
        double real;
    };
    const Case cases[] = {
        {"absent", std::nullopt, std::nullopt, std::nullopt, false, 0, 0.0},
        {"text", text("token-abc"), "token-abc", std::nullopt, false, 0, 0.0},
        {"empty text", text(""), "", std::nullopt, false, 0, 0.0},
        {"integer text", text("42"), "42", std::nullopt, true, 42, 42.0},
        {"padded negative text", text(" -7\n"), " -7\n", std::nullopt, true, -7, -7.0},
        {"decimal text", text("3.9"), "3.9", std::nullopt, true, 3, 3.9},
        {"integer text beyond a double", text("9007199254740993"), "9007199254740993", std::nullopt, true,
         9007199254740993, 9007199254740992.0},
        {"zero text", text("0"), "0", std::nullopt, false, 0, 0.0},
        {"YES text", text("YES"), "YES", std::nullopt, true, 0, 0.0},
        {"True text", text("True"), "True", std::nullopt, true, 0, 0.0},
        {"no text", text("no"), "no", std::nullopt, false, 0, 0.0},
        {"number-like words", text("12 monkeys"), "12 monkeys", std::nullopt, false, 0, 0.0},
        {"data", Data("abc"), std::nullopt, Data("abc"), false, 0, 0.0},
        {"empty data", Data(), std::nullopt, Data(), false, 0, 0.0},
        {"data of digits is no number", Data("1"), std::nullopt, Data("1"), false, 0, 0.0},
        {"true", true, std::nullopt, std::nullopt, true, 1, 1.0},
        {"false", false, std::nullopt, std::nullopt, false, 0, 0.0},
        {"integer one", integer(1), std::nullopt, std::nullopt, true, 1, 1.0},
        {"integer zero", integer(0), std::nullopt, std::nullopt, false, 0, 0.0},
        {"negative integer", integer(-5), std::nullopt, std::nullopt, true, -5, -5.0},
        {"largest integer", integer(largest), std::nullopt, std::nullopt, true, largest,
         9223372036854775807.0},
        {"double", 2.75, std::nullopt, std::nullopt, true, 2, 2.75},
        {"negative double", -2.75, std::nullopt, std::nullopt, true, -2, -2.75},
        {"double below one", 0.25, std::nullopt, std::nullopt, true, 0, 0.25},
        {"double zero", 0.0, std::nullopt, std::nullopt, false, 0, 0.0},
        {"double beyond the integers", 1e30, std::nullopt, std::nullopt, true, largest, 1e30},
        {"negative infinity", -infinity, std::nullopt, std::nullopt, true, smallest, -infinity},
    };

    UserDefaults defaults(suite);
    // All stored before any is read, so that a key that leaks into another shows.
    for (const auto& c : cases) {
        if (c.stored) {
            defaults.set(*c.stored, c.key);
        }
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(defaults.object(c.key), c.stored);
        EXPECT_EQ(defaults.string(c.key), c.string);
        EXPECT_EQ(defaults.data(c.key), c.data);
        EXPECT_EQ(defaults.boolean(c.key), c.boolean);
        EXPECT_EQ(defaults.integer(c.key), c.integer);
        EXPECT_EQ(defaults.doubleValue(c.key), c.real);
    }
}

TEST_F(UserDefaultsTest, SetReplacesAValueOfAnyKind) {
    UserDefaults defaults(suite);
    const DefaultsValue values[] = {
        std::string("text"), Data("bytes"), true, std::int64_t{7}, 0.5, Data("again"), std::string("last"),
    };
    for (const auto& value : values) {
        defaults.set(value, "key");
        EXPECT_EQ(defaults.object("key"), value);
        EXPECT_EQ(defaults.dictionaryRepresentation().size(), 1u);
    }
    EXPECT_EQ(defaults.data("key"), std::nullopt);
}

TEST_F(UserDefaultsTest, LiteralsAreStoredAsTheKindTheyLookLike) {
    UserDefaults defaults(suite);
    defaults.set("text", "text");
    defaults.set(true, "bool");
    defaults.set(7, "int");
    defaults.set(7u, "unsigned");
    defaults.set(0.5, "double");
    const std::map<std::string, DefaultsValue> expected = {{"text", std::string("text")},
                                                           {"bool", true},
                                                           {"int", std::int64_t{7}},
                                                           {"unsigned", std::int64_t{7}},
                                                           {"double", 0.5}};
    EXPECT_EQ(defaults.dictionaryRepresentation(), expected);
}

TEST_F(UserDefaultsTest, EverySuiteObjectSeesTheFileAtOnce) {
    UserDefaults writer(suite);
    UserDefaults reader(suite);
    std::string user(3 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < user.size(); ++i) {
        user[i] = static_cast<char>(i * 7 + i / 4096);
    }
    const Data cachedUser(user);

    writer.set(std::string("token-1"), "token");
    writer.set(cachedUser, "user");
    EXPECT_EQ(reader.string("token"), "token-1");
    EXPECT_EQ(reader.data("user"), cachedUser);

    reader.set(std::string("token-2"), "token");
    EXPECT_EQ(writer.string("token"), "token-2");
    reader.removeObject("token");
    EXPECT_EQ(writer.object("token"), std::nullopt);
    EXPECT_NO_THROW(reader.removeObject("token"));

    writer.set(std::int64_t{1}, "");
    writer.set(std::string("ü"), "clé ✓");
    const std::map<std::string, DefaultsValue> expected = {
        {"", std::int64_t{1}}, {"clé ✓", std::string("ü")}, {"user", cachedUser}};
    EXPECT_EQ(reader.dictionaryRepresentation(), expected);

    const UserDefaults other("group.test.other");
    EXPECT_TRUE(other.dictionaryRepresentation().empty());
    EXPECT_NE(other.file(), writer.file());
}

TEST_F(UserDefaultsTest, ValuesOutliveTheObjectsThatWroteThem) {
    {
        UserDefaults defaults(suite);
        defaults.set(true, "beta");
        defaults.set(1.25, "pageZoom");
    }
    const UserDefaults reopened(suite);
    EXPECT_TRUE(reopened.boolean("beta"));
    EXPECT_EQ(reopened.doubleValue("pageZoom"), 1.25);
    EXPECT_EQ(reopened.suiteName(), suite);
    EXPECT_EQ(reopened.file(), directory_.path() / (suite + ".sqlite"));
}

TEST_F(UserDefaultsTest, AKeysVersionMovesWithEveryWriteOrRemovalOfItAlone) {
    UserDefaults reader(suite);
    UserDefaults writer(suite);
    const auto file = reader.file();
    struct Case {
        const char* name;
        std::function<void()> act;
        bool changes;
    };
    const Case cases[] = {
        {"a first write", [&] { writer.set(Data("one"), "user"); }, true},
        {"a read", [&] { static_cast<void>(writer.data("user")); }, false},
        {"a write of another key", [&] { writer.set(std::string("t"), "token"); }, false},
        {"the same bytes again", [&] { writer.set(Data("one"), "user"); }, true},
        {"a write by the reading object", [&] { reader.set(Data("two"), "user"); }, true},
        {"a write of another kind", [&] { writer.set(true, "user"); }, true},
        {"a write by another program", [&] { executeSQL(file, "UPDATE defaults SET value = 0 WHERE key = 'user'"); },
         true},
        {"a rename by another program",
         [&] { executeSQL(file, "UPDATE defaults SET key = 'moved' WHERE key = 'user'"); }, true},
        {"a write after the rename", [&] { writer.set(Data("one"), "user"); }, true},
        {"a removal", [&] { writer.removeObject("user"); }, true},
        {"a removal of an absent key", [&] { writer.removeObject("user"); }, false},
        {"a write after the removal", [&] { writer.set(Data("one"), "user"); }, true},
    };
    auto last = reader.version("user");
    ASSERT_TRUE(last.has_value());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.act();
        const auto now = reader.version("user");
        ASSERT_TRUE(now.has_value());
        EXPECT_EQ(now != last, c.changes);
        last = now;
    }
    // Two objects are two databases: neither's version stands for the other's.
    EXPECT_NE(writer.version("user"), reader.version("user"));
}

TEST_F(UserDefaultsTest, ASuiteOfAnEarlierReleaseKeepsWorkingAndGetsVersionsAtItsFirstWrite) {
    const auto file = UserDefaults::databaseFile(suite);
    UserDefaults(suite).set(Data("cached"), "user");
    executeSQL(file,
               "BEGIN; DROP TRIGGER count_insert; DROP TRIGGER count_update; DROP TRIGGER count_delete; "
               "DROP TRIGGER count_rekey; DROP TABLE versions; COMMIT;");

    UserDefaults defaults(suite);
    UserDefaults other(suite);
    EXPECT_EQ(defaults.version("user"), std::nullopt);
    EXPECT_EQ(defaults.data("user"), Data("cached"));

    other.set(true, "beta");  // by another object, which must be seen here
    const auto first = defaults.version("user");
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(defaults.version("user"), first);
    EXPECT_EQ(defaults.data("user"), Data("cached"));
    other.set(Data("newer"), "user");
    EXPECT_NE(defaults.version("user"), first);
    EXPECT_EQ(defaults.data("user"), Data("newer"));
}

TEST_F(UserDefaultsTest, RefusesNaNAndKeepsThePreviousValue) {
    UserDefaults defaults(suite);
    defaults.set(1.5, "pageZoom");
    EXPECT_THAT([&] { defaults.set(std::numeric_limits<double>::quiet_NaN(), "pageZoom"); },
                ThrowsMessage<UserDefaultsError>(AllOf(HasSubstr("\"pageZoom\""), HasSubstr("NaN"))));
    EXPECT_EQ(defaults.object("pageZoom"), DefaultsValue(1.5));
}

TEST_F(UserDefaultsTest, KeepsTheSuitePrivateWhateverTheUmask) {
    const auto config = directory_.path() / "config";
    const auto group = config / "group";
    testsupport::ScopedEnvironment environment;
    environment.set("KESTROVA_APP_GROUP_DIR", group.string());
    struct UmaskGuard {
        mode_t previous = ::umask(0);
        ~UmaskGuard() { ::umask(previous); }
    } permissive;

    UserDefaults defaults(suite);
    defaults.set(std::string("secret"), "token");
    EXPECT_EQ(permissionsOf(config), 0700u);
    EXPECT_EQ(permissionsOf(group), 0700u);
    EXPECT_EQ(permissionsOf(defaults.file()), 0600u);
    EXPECT_EQ(permissionsOf(defaults.file().string() + "-wal"), 0600u);
    EXPECT_EQ(permissionsOf(defaults.file().string() + "-shm"), 0600u);
}

// What a look at a file would show of a change to it.
struct FileState {
    std::filesystem::file_type type;
    ino_t inode;
    std::int64_t modified;  // nanoseconds
    std::string contents;
    bool operator==(const FileState&) const = default;
};

FileState stateOf(const std::filesystem::path& file) {
    struct stat status {};
    EXPECT_EQ(::lstat(file.c_str(), &status), 0) << file;
    const auto type = std::filesystem::symlink_status(file).type();
    return {type, status.st_ino, status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec,
            type == std::filesystem::file_type::regular ? contentsOf(file) : std::string()};
}

std::set<std::string> namesIn(const std::filesystem::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST_F(UserDefaultsTest, RefusesWhatIsNoDefaultsDatabaseAndLeavesItAlone) {
    std::string pageOfGarbage;
    while (pageOfGarbage.size() < 8192) {
        pageOfGarbage += "not a database, only notes\n\x01\xfe";
    }
    const auto headerOfASuite = [] {
        const auto file = UserDefaults::databaseFile("model");
        UserDefaults("model").set(true, "beta");
        auto header = contentsOf(file).substr(0, 100);
        std::filesystem::remove(file);
        return header;
    }();
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> plant;
        const char* cause;
    };
    const Case cases[] = {
        {"page of garbage", [&](const auto& file) { writeFile(file, pageOfGarbage); },
         "file is not a database"},
        {"short garbage", [](const auto& file) { writeFile(file, "garbage\n"); }, "file is not a database"},
        {"empty file", [](const auto& file) { writeFile(file, ""); }, "the file is empty"},
        // SQLite would take the file for a new database and delete the log.
        {"empty file beside a write-ahead log",
         [](const auto& file) {
             writeFile(file, "");
             writeFile(file.string() + "-wal", "what the suite last wrote");
         },
         "the file is empty"},
        {"shorter than SQLite's header", [](const auto& file) { writeFile(file, std::string(50, '\0')); },
         "file is not a database"},
        {"SQLite's header alone", [&](const auto& file) { writeFile(file, headerOfASuite); },
         "database disk image is malformed"},
        {"empty SQLite database",
         [](const auto& file) { executeSQL(file, "CREATE TABLE notes (body TEXT); DROP TABLE notes;"); },
         "an empty SQLite database, not a defaults suite"},
        {"directory", [](const auto& file) { std::filesystem::create_directory(file); }, "Is a directory"},
        {"fifo", [](const auto& file) { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }, "not a regular file"},
        {"database of something else",
         [](const auto& file) {
             executeSQL(file, "CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('x');");
         },
         "not a defaults suite"},
        {"suite of a newer format",
         [](const auto& file) {
             UserDefaults(file.stem().string()).set(true, "beta");
             executeSQL(file, "PRAGMA user_version = 2");
         },
         "format version 2"},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = "suite-" + std::to_string(index++);
        const auto file = UserDefaults::databaseFile(name);
        c.plant(file);
        // An hour back, so that any write shows in the time.
        std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) - std::chrono::hours(1));
        const auto names = namesIn(file.parent_path());
        const auto before = stateOf(file);
        const auto log = file.string() + "-wal";
        const auto logBefore = std::filesystem::exists(log) ? contentsOf(log) : std::string();

        EXPECT_THAT([&] { UserDefaults defaults(name); },
                    ThrowsMessage<UserDefaultsError>(AllOf(HasSubstr(file.string()), HasSubstr(c.cause))));
        EXPECT_TRUE(stateOf(file) == before) << "the file was changed";
        EXPECT_EQ(namesIn(file.parent_path()), names);
        if (!logBefore.empty()) {
            EXPECT_EQ(contentsOf(log), logBefore);
        }
    }
}

// The page of the file that holds the root of a table or index.
std::int64_t rootPage(const std::filesystem::path& file, std::string_view type) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    const std::string sql = "SELECT rootpage FROM sqlite_schema WHERE type = '" + std::string(type) + "'";
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    const std::int64_t page = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : -1;
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return page;
}

TEST_F(UserDefaultsTest, RefusesToWriteIntoADamagedSuiteAndLeavesItAlone) {
    constexpr std::int64_t pageSize = 4096;
    struct Case {
        const char* name;
        std::function<std::int64_t(const std::filesystem::path&)> damagedPage;
    };
    // The large value is written first, so the middle of the file is one of
    // its overflow pages: no read of another key and no write of one touches
    // it.
    const Case cases[] = {
        {"a page of a large value",
         [&](const auto& file) { return std::filesystem::file_size(file) / pageSize / 2 + 1; }},
        {"the root of the table", [](const auto& file) { return rootPage(file, "table"); }},
        {"the root of the key index", [](const auto& file) { return rootPage(file, "index"); }},
    };
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = "damaged-" + std::to_string(index++);
        const auto file = UserDefaults::databaseFile(name);
        {
            UserDefaults defaults(name);
            defaults.set(Data(std::string(300 * 1024, 'u')), "user");
            defaults.set(std::string("abc"), "token");
            defaults.set(true, "beta");
        }
        std::string contents = contentsOf(file);
        const auto page = c.damagedPage(file);
        ASSERT_GT(page, 1);
        ASSERT_LE(page * pageSize, static_cast<std::int64_t>(contents.size()));
        for (std::int64_t i = 0; i < pageSize; ++i) {
            const auto at = static_cast<std::size_t>((page - 1) * pageSize + i);
            contents[at] = static_cast<char>(0x5a ^ (i * 37));
        }
        writeFile(file, contents);

        {
            UserDefaults defaults(name);
            EXPECT_THAT([&] { defaults.set(std::string("def"), "token"); },
                        ThrowsMessage<UserDefaultsError>(AllOf(HasSubstr("\"token\""),
                                                               HasSubstr(file.string()),
                                                               HasSubstr("database disk image is malformed"))));
            EXPECT_THAT([&] { defaults.set(std::string("new"), "other"); },
                        ThrowsMessage<UserDefaultsError>(HasSubstr("database disk image is malformed")));
            EXPECT_THAT([&] { defaults.removeObject("beta"); },
                        ThrowsMessage<UserDefaultsError>(HasSubstr("database disk image is malformed")));
        }
        // Compared as a whole: the bytes of a database are not worth printing.
        EXPECT_TRUE(contentsOf(file) == contents) << "the damaged file was changed";
        EXPECT_FALSE(std::filesystem::exists(file.string() + "-wal"));
        EXPECT_FALSE(std::filesystem::exists(file.string() + "-shm"));
    }
}

TEST_F(UserDefaultsTest, ReportsAFileItMayNotUse) {
    // The unprivileged child must reach the directory, so it gets one of its
    // own that everybody may enter.
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-shared-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path shared = pattern;
    ASSERT_EQ(::chmod(shared.c_str(), 0755), 0);
    testsupport::ScopedEnvironment environment;
    environment.set("KESTROVA_APP_GROUP_DIR", shared.string());
    const auto file = UserDefaults::databaseFile(suite);
    UserDefaults(suite).set(std::string("kept"), "token");
    ASSERT_EQ(::chmod(file.c_str(), 0), 0);

    // Root may use any file, so a child that is root first becomes nobody.
    const auto message = testsupport::ForkedChild::run([] {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            return std::string("cannot drop root's privileges");
        }
        try {
            UserDefaults defaults(suite);
            return std::string("opened a file it may not use");
        } catch (const UserDefaultsError& error) {
            return std::string(error.what());
        }
    });
    EXPECT_THAT(message, AllOf(HasSubstr(file.string()), HasSubstr("Permission denied")));

    ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    EXPECT_EQ(UserDefaults(suite).string("token"), "kept");
    std::filesystem::remove_all(shared);
}

TEST_F(UserDefaultsTest, AWriteThatDoesNotFitFailsAndKeepsThePreviousValue) {
    UserDefaults(suite).set(std::string("previous user"), "user");

    // A file-size limit stands in for a full disk: the write-ahead log cannot
    // grow past it, in the child alone.
    const auto message = testsupport::ForkedChild::run([] {
        UserDefaults defaults(suite);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{256 * 1024, 256 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return std::string("cannot limit the file size");
        }
        try {
            defaults.set(Data(std::string(4 * 1024 * 1024, 'u')), "user");
            return std::string("the write went through");
        } catch (const UserDefaultsError& error) {
            if (defaults.string("user") != "previous user") {
                return std::string("the previous value is gone");
            }
            return std::string(error.what());
        }
    });
    EXPECT_THAT(message, AllOf(HasSubstr("\"user\""), HasSubstr(UserDefaults::databaseFile(suite).string()),
                               AnyOf(HasSubstr("File too large"), HasSubstr("disk is full"))));
    EXPECT_EQ(UserDefaults(suite).string("user"), "previous user");
}

// A suite that could not be made whole must leave nothing: a part of one
// would be a damaged suite from then on.
TEST_F(UserDefaultsTest, ASuiteThatCannotBeMadeLeavesNoFile) {
    const auto message = testsupport::ForkedChild::run([] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return std::string("cannot limit the file size");
        }
        try {
            UserDefaults defaults(suite);
            return std::string("the suite was made");
        } catch (const UserDefaultsError& error) {
            return std::string(error.what());
        }
    });
    EXPECT_THAT(message, AllOf(HasSubstr(UserDefaults::databaseFile(suite).string()), HasSubstr("File too large")));
    EXPECT_EQ(namesIn(directory_.path()), std::set<std::string>());

    UserDefaults(suite).set(std::string("abc"), "token");
    EXPECT_EQ(UserDefaults(suite).string("token"), "abc");
}

TEST_F(UserDefaultsTest, ReportsAnAppGroupDirectoryThatCannotBeMade) {
    const auto occupied = directory_.path() / "occupied";
    writeFile(occupied, "a file where a directory should be");
    testsupport::ScopedEnvironment environment;
    environment.set("KESTROVA_APP_GROUP_DIR", (occupied / "group").string());
    EXPECT_THAT([] { UserDefaults defaults(suite); },
                ThrowsMessage<UserDefaultsError>(
                    AllOf(HasSubstr((occupied / "group").string()), HasSubstr("Not a directory"))));
    EXPECT_EQ(contentsOf(occupied), "a file where a directory should be");
}

TEST_F(UserDefaultsTest, NeedsANameThatNamesAFileAndADirectory) {
    const std::string names[] = {"", ".", "..", ".hidden", "a/b", "../escape", std::string("a\0b", 3)};
    for (const auto& name : names) {
        EXPECT_THROW(UserDefaults::databaseFile(name), UserDefaultsError) << name;
    }
    testsupport::ScopedEnvironment environment;
    for (const char* variable : {"KESTROVA_APP_GROUP_DIR", "XDG_CONFIG_HOME", "HOME"}) {
        environment.set(variable, std::nullopt);
    }
    EXPECT_THAT([] { UserDefaults defaults(suite); },
                ThrowsMessage<UserDefaultsError>(HasSubstr("KESTROVA_APP_GROUP_DIR")));
}

TEST_F(UserDefaultsTest, OneSuiteServesManyThreads) {
    constexpr int threadCount = 4;
    constexpr std::int64_t writes = 200;
    UserDefaults defaults(suite);
    std::atomic<int> failures{0};
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < threadCount; ++t) {
            threads.emplace_back([&, t] {
                const std::string key = "thread-" + std::to_string(t);
                const std::string neighbour = "thread-" + std::to_string((t + 1) % threadCount);
                for (std::int64_t i = 1; i <= writes; ++i) {
                    defaults.set(i, key);
                    if (defaults.integer(key) != i) {
                        ++failures;
                    }
                    const auto other = defaults.object(neighbour);
                    if (other && !std::holds_alternative<std::int64_t>(*other)) {
                        ++failures;
                    }
                }
            });
        }
    }
    EXPECT_EQ(failures.load(), 0);
    for (int t = 0; t < threadCount; ++t) {
        EXPECT_EQ(defaults.integer("thread-" + std::to_string(t)), writes);
    }
}

}  // namespace
}  // namespace foundation
