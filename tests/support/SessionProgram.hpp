#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

namespace testsupport {

// The process that owns the name on the session bus; none while nobody does.
std::optional<pid_t> ownerOf(const std::string& busName);

// Runs the main loop until nobody owns the name, at most `bound`; whether it came to that.
bool waitUntilUnowned(const std::string& busName, std::chrono::milliseconds bound);

// Waits until the process has ended, at most `bound`, whoever its parent is; whether it has.
bool waitForEnd(pid_t process, std::chrono::milliseconds bound);

}  // namespace testsupport
