#include "tests/support/DamagedDefaults.hpp"

#include "tests/support/ScratchDirectory.hpp"

#include <cstddef>
#include <fstream>
#include <stdexcept>
#include <string>

namespace testsupport {

void damageDefaultsFile(const std::filesystem::path& file) {
    std::string contents = ScratchDirectory::read(file);
    // The page size is the big-endian number at offset 16 of the header; 1 stands for 65536.
    constexpr std::size_t headerSize = 100;
    if (contents.size() < headerSize) {
        throw std::runtime_error(file.string() + " is no SQLite database");
    }
    const auto high = static_cast<unsigned char>(contents[16]);
    const auto low = static_cast<unsigned char>(contents[17]);
    const std::size_t pageSize = high == 0 && low == 1 ? 65536 : (std::size_t{high} << 8) | low;
    if (contents.size() <= pageSize) {
        throw std::runtime_error(file.string() + " has no page besides its first");
    }
    for (std::size_t at = pageSize; at < contents.size(); ++at) {
        contents[at] = static_cast<char>(0x5a ^ (at * 37));
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << contents;
}

}  // namespace testsupport
