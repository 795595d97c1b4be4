#include "platform/runtime/foundation/defaults/DefaultsDatabase.hpp"

#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"
#include "platform/runtime/foundation/defaults/internal/LogIndexHeader.hpp"
#include "platform/runtime/foundation/defaults/internal/WholeFile.hpp"

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <mutex>
#include <string>
#include <system_error>

namespace foundation {
namespace {

// Marks a database as a defaults suite ("KDFT"), so that an SQLite file of
// something else found in its place is refused rather than written into.
constexpr std::int64_t applicationID = 0x4B444654;
constexpr std::int64_t formatVersion = 1;

// A writer holds the lock for as long as one write takes, milliseconds even
// for a several-MB value; waiting ten seconds only runs out when something is
// stuck, and then the write fails with "database is locked".
constexpr int busyTimeoutMilliseconds = 10'000;

// The kinds must be spelled as in defaultsKindNames; the checks keep a value
// that was written by hand from disagreeing with its kind.
// Every change to a key's row, by any program that opens the file (an older
// release of this one and the sqlite3 shell included), counts up the key's
// version in the same transaction, so a reader can tell an unchanged value
// without reading it. A removal counts too and keeps the key's row here, so
// a key removed and stored again never returns to a version seen before.
constexpr std::string_view versionsSchema = R"sql(
CREATE TABLE IF NOT EXISTS versions (
    key TEXT PRIMARY KEY NOT NULL,
    version INTEGER NOT NULL
);
CREATE TRIGGER IF NOT EXISTS count_insert AFTER INSERT ON defaults BEGIN
    INSERT INTO versions (key, version) VALUES (new.key, 1)
        ON CONFLICT (key) DO UPDATE SET version = version + 1;
END;
CREATE TRIGGER IF NOT EXISTS count_update AFTER UPDATE ON defaults BEGIN
    INSERT INTO versions (key, version) VALUES (new.key, 1)
        ON CONFLICT (key) DO UPDATE SET version = version + 1;
END;
CREATE TRIGGER IF NOT EXISTS count_rekey AFTER UPDATE OF key ON defaults BEGIN
    INSERT INTO versions (key, version) VALUES (old.key, 1)
        ON CONFLICT (key) DO UPDATE SET version = version + 1;
END;
CREATE TRIGGER IF NOT EXISTS count_delete AFTER DELETE ON defaults BEGIN
    INSERT INTO versions (key, version) VALUES (old.key, 1)
        ON CONFLICT (key) DO UPDATE SET version = version + 1;
END;
)sql";

std::string schema() {
    constexpr std::string_view table = R"sql(
CREATE TABLE defaults (
    key TEXT PRIMARY KEY NOT NULL,
    kind TEXT NOT NULL,
    value NOT NULL,
    CHECK ((kind = 'string' AND typeof(value) = 'text')
        OR (kind = 'data' AND typeof(value) = 'blob')
        OR (kind = 'bool' AND typeof(value) = 'integer' AND value IN (0, 1))
        OR (kind = 'integer' AND typeof(value) = 'integer')
        OR (kind = 'double' AND typeof(value) = 'real'))
);
)sql";
    return std::string(table) + std::string(versionsSchema) + "PRAGMA application_id = " +
           std::to_string(applicationID) + ";\nPRAGMA user_version = " + std::to_string(formatVersion) + ";\n";
}

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// The cached statements are reused: whatever happens while one runs, it is
// reset and unbound afterwards, so it neither holds a read snapshot open nor
// keeps pointers to the caller's bytes.
class ResetOnExit {
public:
    explicit ResetOnExit(sqlite3_stmt* statement) : statement_(statement) {}
    ~ResetOnExit() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    sqlite3_stmt* statement_;
};

std::string inQuotes(std::string_view text) {
    std::string result = "\"";
    result += text;
    result += '"';
    return result;
}

std::string openContext(const std::filesystem::path& file) {
    return "cannot open the defaults database " + inQuotes(file.string());
}

std::string keyContext(std::string_view action, std::string_view key, std::string_view preposition,
                       const std::filesystem::path& file) {
    return std::string(action) + " " + inQuotes(key) + " " + std::string(preposition) +
           " the defaults database " + inQuotes(file.string());
}

// SQLite's own message, with the operating system's when a system call failed,
// e.g. "disk I/O error (File too large)". SQLite records the system error only
// for these two codes, and keeps it until the next one, so it is not asked
// about any other.
std::string cause(sqlite3* db) {
    std::string text = sqlite3_errmsg(db);
    const int primary = sqlite3_extended_errcode(db) & 0xff;
    const int systemError = sqlite3_system_errno(db);
    if ((primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN) && systemError != 0) {
        text += " (";
        text += std::strerror(systemError);
        text += ")";
    }
    return text;
}

[[noreturn]] void fail(sqlite3* db, const std::string& context) {
    throw UserDefaultsError(context + ": " + cause(db));
}

[[noreturn]] void failWithErrno(const std::filesystem::path& file, int error) {
    throw UserDefaultsError(openContext(file) + ": " + std::strerror(error));
}

Statement prepare(sqlite3* db, const char* sql, const std::string& context) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr) != SQLITE_OK) {
        fail(db, context);
    }
    return Statement(raw);
}

void execute(sqlite3* db, const std::string& sql, const std::string& context) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(db, context);
    }
}

// A statement stepped to the one row that a pragma or a count answers.
Statement queryRow(sqlite3* db, const char* sql, const std::string& context) {
    Statement statement = prepare(db, sql, context);
    if (sqlite3_step(statement.get()) != SQLITE_ROW) {
        fail(db, context);
    }
    return statement;
}

struct SQLiteFree {
    void operator()(unsigned char* bytes) const { sqlite3_free(bytes); }
};

// The header bytes that say how a database is journalled, 2 for a
// write-ahead log; SQLite's own switch to it sets the same two.
constexpr std::size_t writeVersionOffset = 18;
constexpr std::size_t readVersionOffset = 19;
constexpr char writeAheadLogVersion = 2;

// The bytes of a new suite, made by SQLite in memory: the memdb file system
// keeps a database as a file would, header and all. The header says
// write-ahead log already, so the first opening has nothing to rewrite in a
// file that others may have open.
std::string newSuiteImage(const std::string& context) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(
        "file:new-suite?vfs=memdb", &raw,
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE,
        nullptr);
    const std::unique_ptr<sqlite3, DatabaseCloser> db(raw);
    if (raw == nullptr) {
        throw UserDefaultsError(context + ": " + sqlite3_errstr(opened));
    }
    if (opened != SQLITE_OK) {
        fail(raw, context);
    }
    execute(raw, schema(), context);
    sqlite3_int64 size = 0;
    const std::unique_ptr<unsigned char, SQLiteFree> bytes(sqlite3_serialize(raw, "main", &size, 0));
    if (bytes == nullptr) {
        throw std::bad_alloc();
    }
    std::string image(reinterpret_cast<const char*>(bytes.get()), static_cast<std::size_t>(size));
    image[writeVersionOffset] = writeAheadLogVersion;
    image[readVersionOffset] = writeAheadLogVersion;
    return image;
}

// A suite's file only ever appears whole, table and all (see WholeFile), so
// whatever is found under its name was finished by some process: a file that
// is empty or no suite is damage to report, never a suite to start afresh.
// A missing file is made with mode 0600 (SQLite would apply 0644 and the
// umask); the -wal and -shm files that SQLite makes later copy its mode.
// An existing file is looked at, never opened: closing any descriptor of a
// file drops every lock this process holds on it, so a probe opened and
// closed beside a connection of this process to the same suite would take
// that connection's locks away, and other processes would then checkpoint
// and remove a log it still reads. A directory in its place or a missing
// permission is still reported with the system's own words.
void provideSuiteFile(const std::filesystem::path& file) {
    const std::string context = openContext(file);
    struct stat status {};
    int found = ::stat(file.c_str(), &status);
    if (found != 0 && errno == ENOENT) {
        try {
            if (WholeFile::create(file, newSuiteImage(context)) == WholeFile::Outcome::created) {
                return;
            }
        } catch (const std::system_error& failure) {
            failWithErrno(file, failure.code().value());
        }
        // A neighbour made it meanwhile.
        found = ::stat(file.c_str(), &status);
    }
    if (found != 0) {
        failWithErrno(file, errno);
    }
    if (S_ISDIR(status.st_mode)) {
        failWithErrno(file, EISDIR);
    }
    if (!S_ISREG(status.st_mode)) {
        throw UserDefaultsError(context + ": it is not a regular file");
    }
    if (::faccessat(AT_FDCWD, file.c_str(), R_OK | W_OK, AT_EACCESS) != 0) {
        failWithErrno(file, errno);
    }
    // Checked before SQLite sees it: SQLite would take an empty file for a
    // new database, and delete a write-ahead log it found beside it.
    if (status.st_size == 0) {
        throw UserDefaultsError(context + ": the file is empty");
    }
}

// Reading the application id reads the file's header, so a file that is no
// database fails here, before anything has been written to it.
void requireSuite(sqlite3* db, const std::string& context) {
    const Statement statement = queryRow(db,
                                         "SELECT (SELECT application_id FROM pragma_application_id), "
                                         "(SELECT count(*) FROM sqlite_schema)",
                                         context);
    const std::int64_t id = sqlite3_column_int64(statement.get(), 0);
    const std::int64_t tables = sqlite3_column_int64(statement.get(), 1);
    if (id == applicationID) {
        return;
    }
    if (id == 0 && tables == 0) {
        throw UserDefaultsError(context + ": it is an empty SQLite database, not a defaults suite");
    }
    throw UserDefaultsError(context + ": it is an SQLite database of something else, not a defaults suite");
}

void switchToWriteAheadLog(sqlite3* db, const std::string& context) {
    const Statement mode = queryRow(db, "PRAGMA journal_mode = WAL", context);
    const auto* text = sqlite3_column_text(mode.get(), 0);
    if (text == nullptr || std::string_view(reinterpret_cast<const char*>(text)) != "wal") {
        throw UserDefaultsError(context + ": it cannot be switched to write-ahead logging");
    }
}

void prepareConnection(sqlite3* db, const std::string& context) {
    requireSuite(db, context);
    switchToWriteAheadLog(db, context);
    // In WAL mode a commit survives the death of the process that made it; a
    // power loss can take back the last commits but corrupts nothing.
    execute(db, "PRAGMA synchronous = NORMAL", context);
    const std::int64_t version = sqlite3_column_int64(queryRow(db, "PRAGMA user_version", context).get(), 0);
    if (version != formatVersion) {
        throw UserDefaultsError(context + ": it holds format version " + std::to_string(version) +
                                ", which this program does not know");
    }
}

int bindText(sqlite3_stmt* statement, int index, std::string_view text) {
    return sqlite3_bind_text64(statement, index, text.empty() ? "" : text.data(), text.size(), SQLITE_STATIC,
                               SQLITE_UTF8);
}

int bindValue(sqlite3_stmt* statement, int index, const DefaultsValue& value) {
    struct Binder {
        sqlite3_stmt* statement;
        int index;
        int operator()(const std::string& text) const { return bindText(statement, index, text); }
        // An empty blob through bind_blob would arrive as NULL.
        int operator()(const Data& data) const {
            return data.empty()
                       ? sqlite3_bind_zeroblob(statement, index, 0)
                       : sqlite3_bind_blob64(statement, index, data.data(), data.size(), SQLITE_STATIC);
        }
        int operator()(bool flag) const { return sqlite3_bind_int64(statement, index, flag ? 1 : 0); }
        int operator()(std::int64_t number) const { return sqlite3_bind_int64(statement, index, number); }
        int operator()(double number) const { return sqlite3_bind_double(statement, index, number); }
    };
    return std::visit(Binder{statement, index}, value);
}

std::string columnText(sqlite3_stmt* statement, int column) {
    const auto* text = sqlite3_column_text(statement, column);
    const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
    return size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(text), size);
}

// The index in defaultsKindNames of the kind in column `column`.
std::size_t readKind(sqlite3_stmt* statement, int column, const std::string& context) {
    const auto* kindText = sqlite3_column_text(statement, column);
    const std::string_view kind(kindText == nullptr ? "" : reinterpret_cast<const char*>(kindText),
                                static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
    const auto found = std::find(defaultsKindNames.begin(), defaultsKindNames.end(), kind);
    if (found == defaultsKindNames.end()) {
        throw UserDefaultsError(context + ": it holds a value of the unknown kind " + inQuotes(kind));
    }
    return static_cast<std::size_t>(found - defaultsKindNames.begin());
}

// The kind in column `column`, the value in the one after it.
DefaultsValue readValue(sqlite3_stmt* statement, int column, const std::string& context) {
    const int valueColumn = column + 1;
    switch (readKind(statement, column, context)) {
    case 0:
        return columnText(statement, valueColumn);
    case 1: {
        const void* blob = sqlite3_column_blob(statement, valueColumn);
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, valueColumn));
        return size == 0 ? Data() : Data(blob, size);
    }
    case 2:
        return sqlite3_column_int64(statement, valueColumn) != 0;
    case 3:
        return std::int64_t{sqlite3_column_int64(statement, valueColumn)};
    default:  // 4, as readKind gives no other
        return sqlite3_column_double(statement, valueColumn);
    }
}

// Gives every opened database a number of its own within the process, so
// that a version read from one suite is never taken for one of another.
std::uint64_t nextDatabaseSerial() {
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

}  // namespace

// One connection serves every thread. A connection opened without SQLite's
// own mutex must never be entered by two threads at once, and a cached
// statement is bound, stepped, read and reset as one unit, so the mutex is
// held across that whole unit. Every call is short (one statement), so a pool
// of connections would buy little and cost a file descriptor set per thread.
struct DefaultsDatabase::Connection {
    std::filesystem::path file;
    std::unique_ptr<sqlite3, DatabaseCloser> db;
    Statement select;
    Statement selectAll;
    Statement upsert;
    Statement remove;
    // Null while the file keeps no versions: a suite made by an earlier
    // release, until this one first writes to it.
    Statement selectVersion;
    // The last version asked for, with the log index's header read before
    // the query: while the header stays the same, so does the version.
    struct KnownVersion {
        std::string key;
        LogIndexHeader::Bytes header;
        std::int64_t counter;
    };
    std::optional<LogIndexHeader> logIndex;  // once the connection has mapped it
    std::optional<KnownVersion> lastVersion;
    std::uint64_t serial = nextDatabaseSerial();
    bool checked = false;  // every page was found sound before the first write
    std::mutex mutex;

    void requireSoundPages(const std::string& context);
    bool prepareVersionQuery(const std::string& context);
    // The context is made only when the query fails.
    template <typename Context>
    std::int64_t readVersion(std::string_view key, const Context& context) {
        sqlite3_stmt* statement = selectVersion.get();
        const ResetOnExit reset(statement);
        if (bindText(statement, 1, key) != SQLITE_OK) {
            fail(db.get(), context());
        }
        switch (sqlite3_step(statement)) {
        case SQLITE_ROW:
            return sqlite3_column_int64(statement, 0);
        case SQLITE_DONE:
            // Never written since the file has kept versions.
            return 0;
        default:
            fail(db.get(), context());
        }
    }
    void provideVersions(const std::string& context);
};

// The query is fixed and sound, so the only plain SQL error its preparing can
// meet is a file without the versions table; damage or I/O fails as a read.
bool DefaultsDatabase::Connection::prepareVersionQuery(const std::string& context) {
    if (selectVersion != nullptr) {
        return true;
    }
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v3(db.get(), "SELECT version FROM versions WHERE key = ?1", -1, SQLITE_PREPARE_PERSISTENT,
                           &raw, nullptr) == SQLITE_OK) {
        selectVersion.reset(raw);
        return true;
    }
    if ((sqlite3_extended_errcode(db.get()) & 0xff) != SQLITE_ERROR) {
        fail(db.get(), context);
    }
    return false;
}

// A suite made by an earlier release gets its versions with the first write
// of this one, table and triggers in one transaction, so that no write can
// fall between them uncounted.
void DefaultsDatabase::Connection::provideVersions(const std::string& context) {
    if (prepareVersionQuery(context)) {
        return;
    }
    sqlite3* connection = db.get();
    execute(connection, "BEGIN IMMEDIATE", context);
    if (sqlite3_exec(connection, std::string(versionsSchema).c_str(), nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(connection, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const std::string failure = context + ": " + cause(connection);
        sqlite3_exec(connection, "ROLLBACK", nullptr, nullptr, nullptr);
        throw UserDefaultsError(failure);
    }
    if (!prepareVersionQuery(context)) {
        fail(connection, context);
    }
}

// A damaged page shows only when a statement reads it, and a write reads few:
// it would go through into a file whose other values no read can reach, and
// could spread the damage. So before its first write a connection checks
// every page once (about a millisecond for a suite of several MB). Opening
// does not check: every process start opens the suite, and most never write.
void DefaultsDatabase::Connection::requireSoundPages(const std::string& context) {
    if (checked) {
        return;
    }
    sqlite3* connection = db.get();
    const Statement check = prepare(connection, "PRAGMA quick_check", context);
    const int stepped = sqlite3_step(check.get());
    const int primary = sqlite3_extended_errcode(connection) & 0xff;
    if (stepped == SQLITE_ROW) {
        const auto* verdict = reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
        if (verdict != nullptr && std::string_view(verdict) == "ok") {
            checked = true;
            return;
        }
    } else if (primary != SQLITE_CORRUPT && primary != SQLITE_NOTADB) {
        fail(connection, context);
    }
    // Said as a read of the same file says it.
    throw UserDefaultsError(context + ": " + sqlite3_errstr(SQLITE_CORRUPT));
}

DefaultsDatabase::DefaultsDatabase(std::filesystem::path file) : connection_(std::make_unique<Connection>()) {
    Connection& connection = *connection_;
    connection.file = std::move(file);
    const std::string context = openContext(connection.file);
    provideSuiteFile(connection.file);

    // No SQLITE_OPEN_CREATE: the file exists now, and should it vanish before
    // SQLite opens it, failing beats creating it with the wrong mode.
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(connection.file.c_str(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE, nullptr);
    connection.db.reset(raw);
    if (raw == nullptr) {
        throw UserDefaultsError(context + ": " + sqlite3_errstr(opened));
    }
    sqlite3* db = connection.db.get();
    if (opened != SQLITE_OK) {
        fail(db, context);
    }
    sqlite3_busy_timeout(db, busyTimeoutMilliseconds);
    prepareConnection(db, context);
    connection.select = prepare(db, "SELECT kind, value FROM defaults WHERE key = ?1", context);
    connection.selectAll = prepare(db, "SELECT key, kind, value FROM defaults", context);
    connection.upsert =
        prepare(db,
                "INSERT INTO defaults (key, kind, value) VALUES (?1, ?2, ?3) "
                "ON CONFLICT (key) DO UPDATE SET kind = excluded.kind, value = excluded.value",
                context);
    connection.remove = prepare(db, "DELETE FROM defaults WHERE key = ?1", context);
}

DefaultsDatabase::~DefaultsDatabase() = default;
DefaultsDatabase::DefaultsDatabase(DefaultsDatabase&&) noexcept = default;
DefaultsDatabase& DefaultsDatabase::operator=(DefaultsDatabase&&) noexcept = default;

const std::filesystem::path& DefaultsDatabase::file() const noexcept {
    return connection_->file;
}

std::optional<DefaultsValue> DefaultsDatabase::value(std::string_view key) const {
    Connection& connection = *connection_;
    const std::lock_guard lock(connection.mutex);
    sqlite3_stmt* statement = connection.select.get();
    const ResetOnExit reset(statement);
    const auto context = [&] { return keyContext("cannot read", key, "from", connection.file); };
    if (bindText(statement, 1, key) != SQLITE_OK) {
        fail(connection.db.get(), context());
    }
    switch (sqlite3_step(statement)) {
    case SQLITE_ROW:
        return readValue(statement, 0, context());
    case SQLITE_DONE:
        return std::nullopt;
    default:
        fail(connection.db.get(), context());
    }
}

std::optional<DefaultsVersion> DefaultsDatabase::version(std::string_view key) const {
    Connection& connection = *connection_;
    const std::lock_guard lock(connection.mutex);
    const auto context = [&] { return keyContext("cannot read the version of", key, "in", connection.file); };
    // Asked far more often than anything else, so the context is made only
    // when the query is missing or fails.
    if (connection.selectVersion == nullptr && !connection.prepareVersionQuery(context())) {
        return std::nullopt;
    }
    const auto header = connection.logIndex ? connection.logIndex->read() : std::nullopt;
    const auto& last = connection.lastVersion;
    if (header && last && last->header == *header && last->key == key) {
        return DefaultsVersion{connection.serial, last->counter};
    }
    const std::int64_t counter = connection.readVersion(key, context);
    if (header) {
        connection.lastVersion = Connection::KnownVersion{std::string(key), *header, counter};
    } else {
        connection.lastVersion.reset();
    }
    if (!connection.logIndex) {
        connection.logIndex = LogIndexHeader::of(connection.db.get());
    }
    return DefaultsVersion{connection.serial, counter};
}

std::map<std::string, DefaultsValue> DefaultsDatabase::values() const {
    Connection& connection = *connection_;
    const std::lock_guard lock(connection.mutex);
    sqlite3_stmt* statement = connection.selectAll.get();
    const ResetOnExit reset(statement);
    const std::string context =
        "cannot list the values of the defaults database " + inQuotes(connection.file.string());
    std::map<std::string, DefaultsValue> result;
    int stepped = SQLITE_ROW;
    while ((stepped = sqlite3_step(statement)) == SQLITE_ROW) {
        result.emplace(columnText(statement, 0), readValue(statement, 1, context));
    }
    if (stepped != SQLITE_DONE) {
        fail(connection.db.get(), context);
    }
    return result;
}

std::map<std::string, std::string_view> DefaultsDatabase::kinds() const {
    Connection& connection = *connection_;
    const std::lock_guard lock(connection.mutex);
    const std::string context =
        "cannot list the keys of the defaults database " + inQuotes(connection.file.string());
    // The key and the kind come first in a row and the value last, so a
    // large value's overflow pages are never read; made when asked, as
    // processes seldom ask.
    const Statement statement = prepare(connection.db.get(), "SELECT key, kind FROM defaults", context);
    std::map<std::string, std::string_view> result;
    int stepped = SQLITE_ROW;
    while ((stepped = sqlite3_step(statement.get())) == SQLITE_ROW) {
        const auto kind = defaultsKindNames[readKind(statement.get(), 1, context)];
        result.emplace(columnText(statement.get(), 0), kind);
    }
    if (stepped != SQLITE_DONE) {
        fail(connection.db.get(), context);
    }
    return result;
}

void DefaultsDatabase::setValue(std::string_view key, const DefaultsValue& value) {
    Connection& connection = *connection_;
    const auto context = [&] { return keyContext("cannot store", key, "in", connection.file); };
    if (const auto* number = std::get_if<double>(&value); number != nullptr && std::isnan(*number)) {
        throw UserDefaultsError(context() + ": NaN is not a number that can be stored");
    }
    const std::lock_guard lock(connection.mutex);
    connection.requireSoundPages(context());
    connection.provideVersions(context());
    sqlite3_stmt* statement = connection.upsert.get();
    const ResetOnExit reset(statement);
    if (bindText(statement, 1, key) != SQLITE_OK || bindText(statement, 2, kindName(value)) != SQLITE_OK ||
        bindValue(statement, 3, value) != SQLITE_OK || sqlite3_step(statement) != SQLITE_DONE) {
        fail(connection.db.get(), context());
    }
}

bool DefaultsDatabase::removeValue(std::string_view key) {
    Connection& connection = *connection_;
    const std::lock_guard lock(connection.mutex);
    const std::string context = keyContext("cannot remove", key, "from", connection.file);
    connection.requireSoundPages(context);
    connection.provideVersions(context);
    sqlite3_stmt* statement = connection.remove.get();
    const ResetOnExit reset(statement);
    if (bindText(statement, 1, key) != SQLITE_OK || sqlite3_step(statement) != SQLITE_DONE) {
        fail(connection.db.get(), context);
    }
    return sqlite3_changes64(connection.db.get()) > 0;
}

}  // namespace foundation
