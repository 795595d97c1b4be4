#include "tests/support/SuiteDamage.hpp"

#include "tests/support/ScratchDirectory.hpp"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace testsupport {
namespace {

// The page size of every suite: SQLite's default.
constexpr std::size_t pageSize = 4096;

}  // namespace

std::string damageSuite(const std::filesystem::path& file, SuiteDamage damage) {
    std::string contents;
    if (damage == SuiteDamage::notADatabase) {
        contents = "this is no database\n";
    } else {
        contents = ScratchDirectory::read(file);
        // The first page holds the header and the schema, so the file still
        // opens; the table and its index start on the pages after it.
        if (contents.size() < 2 * pageSize) {
            throw std::logic_error("a suite of one page has no stored values to damage");
        }
        std::fill(contents.begin() + pageSize, contents.end(), '\x5a');
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << contents;
    return contents;
}

}  // namespace testsupport
