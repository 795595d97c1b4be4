#pragma once

#include <sqlite3.h>

#include <array>
#include <cstddef>
#include <optional>

namespace foundation {

// The header of a database's write-ahead-log index, as SQLite's own mapping of
// the -shm file holds it (the format is SQLite's documented one). Every commit
// to the log by any process rewrites it, so while it reads the same, nothing
// was committed in between, and a reader can be told so without the two lock
// calls of a read transaction.
//
// Read without a lock the way SQLite reads it: its two copies, written in the
// opposite order, agree only when no writer was halfway through them.
class LogIndexHeader {
public:
    static constexpr std::size_t size = 48;
    using Bytes = std::array<unsigned char, size>;

    // SQLite's mapping of the connection's main database; none when it keeps
    // no log index in shared memory. The mapping lives as long as the
    // connection, which must have read once so that it exists.
    [[nodiscard]] static std::optional<LogIndexHeader> of(sqlite3* db);

    // None while a writer is rewriting it or before it was first written.
    [[nodiscard]] std::optional<Bytes> read() const;

private:
    explicit LogIndexHeader(const volatile unsigned char* region) noexcept : region_(region) {}

    const volatile unsigned char* region_;
};

}  // namespace foundation
