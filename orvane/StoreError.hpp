#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane {

// The shared defaults cannot be opened or read, or hold a value that no
// request can carry. what() names the file and says why, for the user to
// see: the handlers answer failure and print it (report()).
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const std::string& what) : std::runtime_error(what) {}

    // Prints "orvane: <failed>: <why>" on standard error, where the host
    // shows it: an intent response carries no reason of its own.
    void report(std::string_view failed) const;
};

}  // namespace orvane
