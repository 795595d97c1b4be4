#include "tests/support/ResidentMemory.hpp"

#include <fstream>
#include <string>

namespace testsupport {

std::int64_t peakResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) {
            return std::stoll(line.substr(6));
        }
    }
    return -1;
}

}  // namespace testsupport
