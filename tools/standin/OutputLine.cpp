#include "tools/standin/OutputLine.hpp"

#include <cstdio>
#include <mutex>
#include <string>

namespace standin {

void printOutputLine(std::string_view line) {
    // Lines carry what clients sent (paths, hosts): a control character in them is shown as "?",
    // so that no client can end a line early and forge the next one.
    std::string shown(line);
    for (char& character : shown) {
        if (static_cast<unsigned char>(character) < 0x20 || character == '\x7f') {
            character = '?';
        }
    }
    static std::mutex mutex;
    const std::scoped_lock lock(mutex);
    std::fwrite(shown.data(), 1, shown.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace standin
