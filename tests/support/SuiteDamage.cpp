#include "tests/support/SuiteDamage.hpp"

#include "tests/support/ScratchDirectory.hpp"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <stdexcept>

namespace testsupport {
namespace {

// The page size is the big-endian number at offset 16 of the header; 1 stands for 65536.
std::size_t pageSizeOf(const std::string& contents, const std::filesystem::path& file) {
    constexpr std::size_t headerSize = 100;
    if (contents.size() < headerSize) {
        throw std::logic_error(file.string() + " is no SQLite database");
    }
    const auto high = static_cast<unsigned char>(contents[16]);
    const auto low = static_cast<unsigned char>(contents[17]);
    return high == 0 && low == 1 ? 65536 : (std::size_t{high} << 8) | low;
}

}  // namespace

std::string damageSuite(const std::filesystem::path& file, SuiteDamage damage) {
    std::string contents;
    if (damage == SuiteDamage::notADatabase) {
        contents = "this is no database\n";
    } else {
        contents = ScratchDirectory::read(file);
        // The first page holds the header and the schema, so the file still
        // opens; the table and its index start on the pages after it.
        const std::size_t pageSize = pageSizeOf(contents, file);
        if (contents.size() <= pageSize) {
            throw std::logic_error("a suite of one page has no stored values to damage");
        }
        std::fill(contents.begin() + static_cast<std::ptrdiff_t>(pageSize), contents.end(), '\x5a');
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << contents;
    return contents;
}

}  // namespace testsupport
