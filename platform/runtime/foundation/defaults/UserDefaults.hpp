#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/defaults/DefaultsDatabase.hpp"
#include "platform/runtime/foundation/defaults/DefaultsValue.hpp"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// A named suite of defaults: typed values under text keys, kept in one SQLite
// database per suite in the app-group directory (AppGroup), shared by every
// process of the group. Nothing is cached in memory: each read goes to the
// database, so what another process wrote is seen at once.
//
// Any thread may use one suite object. Every operation throws
// UserDefaultsError when the database cannot be read or written (a full disk,
// a read-only file system); a failed write leaves the previous value.
//
// The typed readers convert between kinds as the other platform's defaults
// do, so that a setting written as a number reads as a Boolean and back:
// - string(): text only; data, Booleans and numbers give no value.
// - data(): data only; a text is never data.
// - boolean(): a Boolean as it is; a number is true when it is not zero; a
//   text is true for "true" or "yes", false for "false" or "no" (in any case),
//   else true when it reads as a number that is not zero; data is false.
// - integer(): a Boolean is 1 or 0; a double is truncated toward zero and
//   clamped to the 64-bit range (NaN is 0); a text that reads as a number
//   gives that number, truncated; anything else is 0.
// - doubleValue(): Booleans are 1.0 and 0.0, integers convert, a text that
//   reads as a number gives it; anything else is 0.0.
// A text "reads as a number" when, without surrounding white space, it is
// whole a decimal integer or floating-point number ("42", "-3.5", "1e3").
class UserDefaults {
public:
    // Opens the suite, creating the app-group directory (mode 0700, with its
    // missing parents) and the database file (mode 0600) when they are
    // missing. Throws UserDefaultsError when the name cannot name a file, no
    // app-group directory is configured or it cannot be made, or the database
    // cannot be opened or is not a defaults suite; an existing file is never
    // replaced or removed.
    explicit UserDefaults(std::string_view suiteName);

    // The database file of a suite, without touching the disk. Throws
    // UserDefaultsError for a name that cannot name a file ("", names with a
    // slash, a NUL or a leading dot) and when no app-group directory is
    // configured.
    static std::filesystem::path databaseFile(std::string_view suiteName);
    // Throws UserDefaultsError, saying why, for a name that cannot name a
    // file: "", names with a slash, a NUL or a leading dot.
    static void requireUsableName(std::string_view suiteName);

    [[nodiscard]] const std::string& suiteName() const noexcept { return suiteName_; }
    [[nodiscard]] const std::filesystem::path& file() const noexcept { return database_.file(); }

    // The stored value of its own kind, or no value when the key is absent.
    [[nodiscard]] std::optional<DefaultsValue> object(std::string_view key) const;
    [[nodiscard]] std::optional<std::string> string(std::string_view key) const;
    [[nodiscard]] std::optional<Data> data(std::string_view key) const;
    // false when absent.
    [[nodiscard]] bool boolean(std::string_view key) const;
    // 0 when absent.
    [[nodiscard]] std::int64_t integer(std::string_view key) const;
    // 0.0 when absent; `double` itself cannot name a member.
    [[nodiscard]] double doubleValue(std::string_view key) const;
    // Tells whether the key's value changed since an earlier look; see
    // DefaultsDatabase::version.
    [[nodiscard]] std::optional<DefaultsVersion> version(std::string_view key) const {
        return database_.version(key);
    }
    // Every key of the suite with its value.
    [[nodiscard]] std::map<std::string, DefaultsValue> dictionaryRepresentation() const;

    // Replaces whatever the key held, of any kind, in one transaction. A NaN
    // is refused with UserDefaultsError and nothing is written.
    void set(const DefaultsValue& value, std::string_view key);
    // Removing an absent key is no error.
    void removeObject(std::string_view key);

private:
    std::string suiteName_;
    DefaultsDatabase database_;
};

}  // namespace foundation
