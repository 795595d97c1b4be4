#pragma once

#include <cstdint>

namespace testsupport {

// The process's peak resident size so far (VmHWM), in KiB; -1 when unknown.
std::int64_t peakResidentKilobytes();

// Lowers the peak to the resident size of this moment, so that a measure
// from here is not hidden under a peak an earlier test left; false when the
// kernel refuses.
bool restartPeakResident();

}  // namespace testsupport
