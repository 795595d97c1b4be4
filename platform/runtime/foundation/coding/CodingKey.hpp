#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// One step of a coding path: the key of an object field, or the position of
// a list element.
class CodingKey {
public:
    explicit CodingKey(std::string_view stringValue) : stringValue_(stringValue) {}
    static CodingKey index(std::size_t position);

    // A list position reads "Index 3", as the other platform spells it.
    [[nodiscard]] const std::string& stringValue() const noexcept { return stringValue_; }
    [[nodiscard]] std::optional<std::size_t> intValue() const noexcept { return intValue_; }

    friend bool operator==(const CodingKey&, const CodingKey&) = default;

private:
    CodingKey(std::string stringValue, std::size_t position)
        : stringValue_(std::move(stringValue)), intValue_(position) {}

    std::string stringValue_;
    std::optional<std::size_t> intValue_;
};

}  // namespace foundation
