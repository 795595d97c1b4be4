#pragma once

#include "platform/runtime/foundation/coding/CodingKey.hpp"

#include <initializer_list>
#include <string>
#include <vector>

namespace foundation {

// Where in a nested value a coding step is: the keys and list positions from
// the top-level value down.
class CodingPath {
public:
    CodingPath() = default;
    explicit CodingPath(std::vector<CodingKey> keys) : keys_(std::move(keys)) {}
    CodingPath(std::initializer_list<CodingKey> keys) : keys_(keys) {}

    [[nodiscard]] const std::vector<CodingKey>& keys() const noexcept { return keys_; }
    [[nodiscard]] bool empty() const noexcept { return keys_.empty(); }

    // Compact form for messages: journals[2].entries[0].id; the top level is "the top level".
    [[nodiscard]] std::string description() const;

    friend bool operator==(const CodingPath&, const CodingPath&) = default;

private:
    std::vector<CodingKey> keys_;
};

}  // namespace foundation
