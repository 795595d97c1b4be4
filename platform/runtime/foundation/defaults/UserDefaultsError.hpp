#pragma once

#include <stdexcept>

namespace foundation {

// A defaults suite that cannot be opened, read or written. The message names
// the database file and the cause, so that it can be shown as it is.
class UserDefaultsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace foundation
