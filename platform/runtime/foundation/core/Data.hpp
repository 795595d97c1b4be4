#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

class Hasher;

// A value holding bytes, such as an image or a JSON document kept in the
// shared defaults.
class Data {
public:
    Data() = default;
    explicit Data(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    explicit Data(std::string_view bytes) : bytes_(bytes.begin(), bytes.end()) {}
    Data(const void* bytes, std::size_t count);

    // Strict standard Base64 with padding: any other character, a wrong
    // length or misplaced padding gives no value rather than guessed bytes.
    static std::optional<Data> fromBase64(std::string_view text);
    [[nodiscard]] std::string base64EncodedString() const;

    [[nodiscard]] std::size_t size() const noexcept { return bytes_.size(); }
    [[nodiscard]] bool empty() const noexcept { return bytes_.empty(); }
    [[nodiscard]] const std::uint8_t* data() const noexcept { return bytes_.data(); }
    [[nodiscard]] std::span<const std::uint8_t> bytes() const noexcept { return bytes_; }
    [[nodiscard]] std::string_view view() const noexcept {
        return {reinterpret_cast<const char*>(bytes_.data()), bytes_.size()};
    }

    void append(std::string_view bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
    void append(const Data& other) { bytes_.insert(bytes_.end(), other.bytes_.begin(), other.bytes_.end()); }

    friend bool operator==(const Data&, const Data&) = default;
    void hash(Hasher& hasher) const;

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace foundation
