#include "fuzz/support/SeedFile.hpp"

#include <cstdio>
#include <fstream>

namespace fuzzsupport {

bool writeSeed(const std::string& folder, const std::string& name, std::string_view bytes) {
    const std::string path = folder + "/" + name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "cannot write the seed %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace fuzzsupport
