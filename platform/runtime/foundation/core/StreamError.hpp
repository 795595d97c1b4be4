#pragma once

#include <string>
#include <system_error>

namespace foundation {

// A stream that could not be opened, read or written. code().value() is the
// errno; what() says what was being done to which file, then the system's
// reason, e.g. `cannot write to "/tmp/x.tmp": No space left on device`.
class StreamError : public std::system_error {
public:
    StreamError(int errorNumber, const std::string& context)
        : std::system_error(errorNumber, std::generic_category(), context) {}
};

}  // namespace foundation
