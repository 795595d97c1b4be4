#pragma once

#include <stdexcept>
#include <string>

namespace shortcuts_tool {

// A command line the runner cannot read: it exits 2 with the usage.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A Boolean as the command line gives it: true, yes or 1, false, no or 0. Throws UsageError
// naming the option for anything else.
bool flag(const std::string& option, const std::string& text);

}  // namespace shortcuts_tool
