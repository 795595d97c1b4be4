#pragma once

#include <stdexcept>

namespace defaults_tool {

// A command line that cannot be understood; the message says what is wrong
// with it, and the tool adds the short usage.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace defaults_tool
