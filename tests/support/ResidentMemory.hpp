#pragma once

#include <cstdint>

namespace testsupport {

// The process's peak resident size so far (VmHWM), in KiB; -1 when unknown.
std::int64_t peakResidentKilobytes();

}  // namespace testsupport
