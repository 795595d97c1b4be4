#pragma once

#include <string_view>

namespace updater {

// Orders release versions such as "1.10", "1.2.3", "2.0b1": runs of digits compare as numbers, other
// runs as text, and a missing part counts as zero ("1.0" == "1"). Negative, zero or positive as
// `a` is below, equal to or above `b`.
int compareVersions(std::string_view a, std::string_view b);

}  // namespace updater
