#pragma once

#include <string_view>

namespace standin {

// Writes one line to standard output at once, whole: the server's threads
// share the stream, and tests and benchmarks read it line by line while the
// stand-in runs. Control characters show as "?".
void printOutputLine(std::string_view line);

}  // namespace standin
