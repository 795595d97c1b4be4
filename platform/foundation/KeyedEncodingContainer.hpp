#pragma once

#include "platform/foundation/UnkeyedEncodingContainer.hpp"

#include <optional>
#include <string_view>

namespace foundation {

// A JSON object, written key by key in the order of the calls.
class KeyedEncodingContainer {
public:
    template <typename T>
    void encode(std::string_view key, const T& value) {
        Encoder child = childFor(key);
        child.encode(value);
    }

    // An optional field without a value is left out, never written as null.
    template <typename T>
    void encodeIfPresent(std::string_view key, const std::optional<T>& value) {
        if (value) {
            encode(key, *value);
        }
    }

    // The same for a value held elsewhere, such as a record nested on the
    // heap: a null pointer is an absent value.
    template <typename T>
    void encodeIfPresent(std::string_view key, const T* value) {
        if (value) {
            encode(key, *value);
        }
    }

    void encodeNil(std::string_view key);

    [[nodiscard]] CodingPath codingPath() const { return node_.path(); }

private:
    friend class Encoder;

    KeyedEncodingContainer(JSONWriter& writer, CodingPathNode node) : writer_(&writer), node_(node) {}

    // Writes the key; the encoder it gives writes the key's value.
    Encoder childFor(std::string_view key);

    JSONWriter* writer_;
    CodingPathNode node_;
};

}  // namespace foundation
