#pragma once

#include "platform/runtime/foundation/coding/UnkeyedEncodingContainer.hpp"

#include <concepts>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace foundation {

// A JSON object, written key by key in the order of the calls.
class KeyedEncodingContainer {
public:
    // A key as the container takes it. Records name their keys with literals,
    // which are looked at once, when the program is compiled: a key of plain
    // characters (printable ASCII that JSON does not escape) is then written as
    // it stands, with no check and no escaping at each write. Any other key is
    // checked and escaped when it is written.
    class Key {
    public:
        template <std::size_t N>
        consteval Key(const char (&literal)[N])  // NOLINT(google-explicit-constructor)
            : text_(literal, std::char_traits<char>::length(literal)), plain_(isPlain(text_)) {}

        template <typename Text>
            requires(std::convertible_to<const Text&, std::string_view> && !std::is_array_v<Text>)
        Key(const Text& text)  // NOLINT(google-explicit-constructor)
            : text_(text) {}

        [[nodiscard]] constexpr std::string_view text() const noexcept { return text_; }
        [[nodiscard]] constexpr bool isPlain() const noexcept { return plain_; }

    private:
        static constexpr bool isPlain(std::string_view text) noexcept {
            for (const char c : text) {
                if (c < 0x20 || c > 0x7E || c == '"' || c == '\\' || c == '/') {
                    return false;
                }
            }
            return true;
        }

        std::string_view text_;
        bool plain_ = false;
    };

    template <typename T>
    void encode(Key key, const T& value) {
        Encoder child = childFor(key);
        child.encode(value);
    }

    // An optional field without a value is left out, never written as null.
    template <typename T>
    void encodeIfPresent(Key key, const std::optional<T>& value) {
        if (value) {
            encode(key, *value);
        }
    }

    // The same for a value held elsewhere, such as a record nested on the
    // heap: a null pointer is an absent value.
    template <typename T>
    void encodeIfPresent(Key key, const T* value) {
        if (value) {
            encode(key, *value);
        }
    }

    void encodeNil(Key key);

    [[nodiscard]] CodingPath codingPath() const { return node_.path(); }

private:
    friend class Encoder;

    KeyedEncodingContainer(JSONWriter& writer, CodingPathNode node) : writer_(&writer), node_(node) {}

    // Writes the key; the encoder it gives writes the key's value.
    Encoder childFor(Key key);

    JSONWriter* writer_;
    CodingPathNode node_;
};

}  // namespace foundation
