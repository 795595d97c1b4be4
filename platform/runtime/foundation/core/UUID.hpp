#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

class Hasher;

// A 128-bit identifier. Text form: 36 characters, hyphenated 8-4-4-4-12,
// read in either letter case and always written in upper case.
class UUID {
public:
    using Bytes = std::array<std::uint8_t, 16>;

    // A fresh random (version 4) identifier.
    UUID();
    explicit constexpr UUID(const Bytes& bytes) : bytes_(bytes) {}

    static std::optional<UUID> fromString(std::string_view text);
    [[nodiscard]] std::string uuidString() const;
    [[nodiscard]] const Bytes& bytes() const { return bytes_; }

    friend bool operator==(const UUID&, const UUID&) = default;
    void hash(Hasher& hasher) const;

private:
    Bytes bytes_;
};

}  // namespace foundation
