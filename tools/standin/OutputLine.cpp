#include "tools/standin/OutputLine.hpp"

#include <cstdio>
#include <mutex>

namespace standin {

void printOutputLine(std::string_view line) {
    static std::mutex mutex;
    const std::scoped_lock lock(mutex);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace standin
