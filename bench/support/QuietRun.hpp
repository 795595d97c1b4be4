#pragma once

#include <string>
#include <vector>

namespace bench {

// Runs the program (a path, or a name looked up on PATH) with its standard output going to
// /dev/null and waits for it; whether it was started and exited with status 0.
bool runQuietly(std::vector<std::string> arguments);

}  // namespace bench
