#pragma once

#include "platform/runtime/foundation/coding/CodingPath.hpp"
#include "platform/runtime/foundation/coding/CodingPathNode.hpp"
#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/core/Text.hpp"
#include "platform/runtime/foundation/core/UUID.hpp"

#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

namespace foundation {

class Encoder;
class JSONWriter;
class KeyedEncodingContainer;
class SingleValueEncodingContainer;
class UnkeyedEncodingContainer;

// A record takes part in encoding with `void encode(Encoder&) const`, which
// writes the record through one of the encoder's containers.
template <typename T>
concept EncodableRecord = requires(const T& value, Encoder& encoder) {
    value.encode(encoder);
};

// Lists write element by element through an unkeyed container; the rule lives
// beside that container (UnkeyedEncodingContainer.hpp).
template <typename List>
void encodeList(Encoder& encoder, const List& values);

// The place one value is written to, as a record's encode sees it. Encoding
// writes as it goes: what a record writes appears in the order it writes it,
// so a nested value is finished before the next key is written.
class Encoder {
public:
    // The value as an object; every call gives a handle on the same object.
    [[nodiscard]] KeyedEncodingContainer container();
    // The value as a list.
    [[nodiscard]] UnkeyedEncodingContainer unkeyedContainer();
    // The value as one JSON value (texts, numbers, enumerations).
    [[nodiscard]] SingleValueEncodingContainer singleValueContainer();
    [[nodiscard]] CodingPath codingPath() const { return node_.path(); }

private:
    friend class JSONEncoder;
    friend class KeyedEncodingContainer;
    friend class SingleValueEncodingContainer;
    friend class UnkeyedEncodingContainer;

    Encoder(JSONWriter& writer, CodingPathNode node) : writer_(&writer), node_(node) {}

    template <typename T>
    struct IsList : std::false_type {};
    template <typename Element>
    struct IsList<std::vector<Element>> : std::true_type {};

    // The one place that maps a type to its writing rule.
    template <typename T>
    void encode(const T& value) {
        if constexpr (std::is_same_v<T, bool>) {
            encodeBool(value);
        } else if constexpr (std::is_same_v<T, std::int64_t> || std::is_same_v<T, int>) {
            encodeInt64(value);
        } else if constexpr (std::is_same_v<T, double>) {
            encodeDouble(value);
        } else if constexpr (std::is_same_v<T, float>) {
            encodeFloat(value);
        } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
            encodeString(value);
        } else if constexpr (std::is_same_v<T, Text>) {
            encodeString(value.view());
        } else if constexpr (std::is_same_v<T, Data>) {
            encodeString(value.base64EncodedString());
        } else if constexpr (std::is_same_v<T, Date>) {
            encodeDate(value);
        } else if constexpr (std::is_same_v<T, UUID>) {
            encodeString(value.uuidString());
        } else if constexpr (IsList<T>::value) {
            encodeList(*this, value);
        } else {
            static_assert(EncodableRecord<T>,
                          "an encoded type needs `void encode(foundation::Encoder&) const`");
            value.encode(*this);
        }
        finish();
    }

    void encodeBool(bool value);
    void encodeInt64(std::int64_t value);
    void encodeDouble(double value);
    void encodeFloat(float value);
    void encodeString(std::string_view utf8);
    void encodeDate(Date value);
    void encodeNil();
    void enterContainer();
    void wrote();
    // Closes the container the value opened, or writes {} for a value that
    // wrote nothing; at the top level writing nothing is an error.
    void finish();
    [[noreturn]] void refuse(std::string description) const;

    enum class State : std::uint8_t { empty, object, list, singleValue, written };

    JSONWriter* writer_;
    CodingPathNode node_;
    State state_ = State::empty;
};

}  // namespace foundation
