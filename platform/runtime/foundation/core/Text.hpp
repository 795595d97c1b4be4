#pragma once

#include <compare>
#include <functional>
#include <string>
#include <string_view>

namespace foundation {

class Hasher;

// UTF-8 text whose equality is Unicode canonical equivalence: "é" written as
// one code point equals "e" followed by a combining acute accent. The bytes
// are kept as they came, so text written out again is byte for byte what was
// read; only comparison and hashing look through the normalised form.
class Text {
public:
    Text() = default;
    Text(std::string utf8) : utf8_(std::move(utf8)) {}        // NOLINT(google-explicit-constructor)
    Text(std::string_view utf8) : utf8_(utf8) {}              // NOLINT(google-explicit-constructor)
    Text(const char* utf8) : utf8_(utf8) {}                   // NOLINT(google-explicit-constructor)

    [[nodiscard]] const std::string& str() const noexcept { return utf8_; }
    [[nodiscard]] std::string_view view() const noexcept { return utf8_; }
    [[nodiscard]] bool empty() const noexcept { return utf8_.empty(); }

    // The canonical composition (NFC) of the text; the bytes unchanged when
    // they are not valid UTF-8.
    [[nodiscard]] std::string normalized() const;

    // Case-insensitive containment as a user searching a list expects it:
    // "run" is contained in "Morning Run" and in "RUNNING". Both sides are
    // case-folded and canonically composed first.
    [[nodiscard]] bool localizedCaseInsensitiveContains(const Text& other) const;

    friend bool operator==(const Text& a, const Text& b);
    void hash(Hasher& hasher) const;

private:
    std::string utf8_;
};

}  // namespace foundation

template <>
struct std::hash<foundation::Text> {
    std::size_t operator()(const foundation::Text& text) const;
};
