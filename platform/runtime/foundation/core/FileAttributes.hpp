#pragma once

#include <cstdint>
#include <optional>

namespace foundation {

// What the file manager tells of one item.
struct FileAttributes {
    // The byte count of a regular file. Devices, pipes, sockets and
    // directories have no size that says how many bytes reading them yields,
    // so they have none.
    std::optional<std::int64_t> size;
};

}  // namespace foundation
