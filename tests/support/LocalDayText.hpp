#pragma once

#include <ctime>
#include <string>

namespace testsupport {

// The local day of `when` as "yyyy-MM-dd", as the C library sees it,
// independently of the code under test.
std::string localDayText(std::time_t when);

// Today's, as a streak date is sent.
std::string todayText();

}  // namespace testsupport
