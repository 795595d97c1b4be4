#pragma once

#include "platform/runtime/foundation/defaults/DefaultsValue.hpp"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// Where a key's stored value stands: equal versions of one key, read from the
// same database object, mean the value was neither written nor removed in
// between, by this process or any other.
struct DefaultsVersion {
    std::uint64_t database;
    std::int64_t counter;

    friend bool operator==(const DefaultsVersion&, const DefaultsVersion&) = default;
};

// The storage of one defaults suite: an SQLite database file that several
// processes read and write at once. Every call goes to the file, so a value
// another process has written is seen by the next read; each write is a
// transaction of its own, so readers see the old value or the new one whole,
// and a writer killed halfway leaves the old one.
//
// Safe to use from any thread: the one connection is guarded by a mutex (see
// DefaultsDatabase.cpp). Every failure throws UserDefaultsError naming the file.
class DefaultsDatabase {
public:
    // Opens the file, creating it with mode 0600 when it does not exist; its
    // directory must exist. A new file appears whole, so an existing one is
    // never taken for a new suite: an empty file, a file that is no database,
    // a database that is not a defaults suite (an empty one included), a
    // directory in its place or a file that may not be read and written is
    // an error, and the file is left exactly as it was.
    explicit DefaultsDatabase(std::filesystem::path file);
    ~DefaultsDatabase();
    DefaultsDatabase(DefaultsDatabase&&) noexcept;
    DefaultsDatabase& operator=(DefaultsDatabase&&) noexcept;

    [[nodiscard]] const std::filesystem::path& file() const noexcept;

    [[nodiscard]] std::optional<DefaultsValue> value(std::string_view key) const;
    // The key's version: a single indexed lookup that reads no value, or no
    // lookup at all while the write-ahead log's index shows no commit since
    // the last one (see internal/LogIndexHeader). None
    // when the file keeps no versions (made by an earlier release and not
    // written since), in which case any read may hold a change. Read it
    // before the value: a write between the two then shows as a change at
    // the next look, never the other way round.
    [[nodiscard]] std::optional<DefaultsVersion> version(std::string_view key) const;
    // Every key with its value, in the keys' byte order.
    [[nodiscard]] std::map<std::string, DefaultsValue> values() const;
    // Every key with the name of its value's kind (one of defaultsKindNames),
    // without reading the values themselves.
    [[nodiscard]] std::map<std::string, std::string_view> kinds() const;

    // The writes below refuse a file whose pages are damaged with the error
    // that its reads give, "database disk image is malformed", and write
    // nothing: the file is left as it is, for its owner to look at.

    // Replaces whatever the key held, of any kind. A NaN cannot be stored
    // (SQLite keeps no NaN) and is refused before anything is written.
    void setValue(std::string_view key, const DefaultsValue& value);
    // Removing an absent key is no error; true when the key was there.
    bool removeValue(std::string_view key);

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

}  // namespace foundation
