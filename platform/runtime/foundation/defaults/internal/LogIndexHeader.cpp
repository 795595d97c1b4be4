#include "platform/runtime/foundation/defaults/internal/LogIndexHeader.hpp"

namespace foundation {
namespace {

// The first region of the index, which holds the header.
constexpr int firstRegionSize = 32 * 1024;
// The byte of a copy that says it was written, after the version and the
// change counter.
constexpr std::size_t initialisedOffset = 12;

// Each byte is an acquiring load, so that nothing read after a copy is read before it: the
// barrier SQLite's own reader puts between the two copies.
LogIndexHeader::Bytes copyAt(const volatile unsigned char* from) {
    LogIndexHeader::Bytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = __atomic_load_n(from + i, __ATOMIC_ACQUIRE);
    }
    return bytes;
}

}  // namespace

std::optional<LogIndexHeader> LogIndexHeader::of(sqlite3* db) {
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || file == nullptr ||
        file->pMethods == nullptr || file->pMethods->iVersion < 2 || file->pMethods->xShmMap == nullptr) {
        return std::nullopt;
    }
    volatile void* region = nullptr;
    if (file->pMethods->xShmMap(file, 0, firstRegionSize, 0, &region) != SQLITE_OK || region == nullptr) {
        return std::nullopt;
    }
    return LogIndexHeader(static_cast<const volatile unsigned char*>(region));
}

std::optional<LogIndexHeader::Bytes> LogIndexHeader::read() const {
    const Bytes first = copyAt(region_);
    const Bytes second = copyAt(region_ + size);
    if (first != second || first[initialisedOffset] == 0) {
        return std::nullopt;
    }
    return first;
}

}  // namespace foundation
