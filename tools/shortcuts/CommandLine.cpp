#include "tools/shortcuts/CommandLine.hpp"

namespace shortcuts_tool {

bool flag(const std::string& option, const std::string& text) {
    if (text == "true" || text == "yes" || text == "1") {
        return true;
    }
    if (text == "false" || text == "no" || text == "0") {
        return false;
    }
    throw UsageError(option + " takes true or false, not \"" + text + "\"");
}

}  // namespace shortcuts_tool
