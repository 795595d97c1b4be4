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

bool restartPeakResident() {
    // "5" resets the high-water mark (proc(5), clear_refs).
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5";
    clearRefs.flush();
    return clearRefs.good();
}

}  // namespace testsupport
