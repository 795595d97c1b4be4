#pragma once

#include "platform/runtime/foundation/coding/CodingPath.hpp"
#include "platform/runtime/foundation/coding/CodingPathNode.hpp"
#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/core/Date.hpp"
#include "platform/runtime/foundation/core/Text.hpp"
#include "platform/runtime/foundation/core/UUID.hpp"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace foundation {

class DecodingContext;
class Decoder;
class KeyedDecodingContainer;
class SingleValueDecodingContainer;
class UnkeyedDecodingContainer;
namespace recordfields {
struct DecoderAccess;
}

// A record takes part in decoding with `static T decode(Decoder&)`, which
// reads the record through one of the decoder's containers.
template <typename T>
concept DecodableRecord = requires(Decoder& decoder) {
    { T::decode(decoder) } -> std::same_as<T>;
};

// Lists read element by element through an unkeyed container; the rule lives
// beside that container (UnkeyedDecodingContainer.hpp).
template <typename List>
List decodeList(Decoder& decoder);

// One value of the document being decoded, as a record's decode sees it.
// It lives only as long as the decode call that handed it over.
class Decoder {
public:
    // The value as an object; anything else, null included, fails.
    [[nodiscard]] KeyedDecodingContainer container() const;
    // The value as a list; anything else, null included, fails.
    [[nodiscard]] UnkeyedDecodingContainer unkeyedContainer() const;
    // The value itself, for types that are one JSON value (texts, numbers, enumerations).
    [[nodiscard]] SingleValueDecodingContainer singleValueContainer() const;
    [[nodiscard]] CodingPath codingPath() const { return node_.path(); }

private:
    friend class DecodingContext;
    friend class JSONDecoder;
    friend class KeyedDecodingContainer;
    friend class ObjectFields;
    friend struct recordfields::DecoderAccess;
    friend class SingleValueDecodingContainer;
    friend class UnkeyedDecodingContainer;
    Decoder(DecodingContext& context, std::size_t index, CodingPathNode node)
        : context_(&context), index_(index), node_(node) {}

    template <typename T>
    struct IsList : std::false_type {};
    template <typename Element>
    struct IsList<std::vector<Element>> : std::true_type {};

    // The one place that maps a type to its reading rule.
    template <typename T>
    T decode() {
        if constexpr (std::is_same_v<T, bool>) {
            return decodeBool();
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
            return decodeInt64();
        } else if constexpr (std::is_same_v<T, int>) {
            return decodeInt();
        } else if constexpr (std::is_same_v<T, double>) {
            return decodeDouble();
        } else if constexpr (std::is_same_v<T, float>) {
            return decodeFloat();
        } else if constexpr (std::is_same_v<T, std::string>) {
            return decodeString();
        } else if constexpr (std::is_same_v<T, Text>) {
            return decodeText();
        } else if constexpr (std::is_same_v<T, Data>) {
            return decodeData();
        } else if constexpr (std::is_same_v<T, Date>) {
            return decodeDate();
        } else if constexpr (std::is_same_v<T, UUID>) {
            return decodeUUID();
        } else if constexpr (IsList<T>::value) {
            return decodeList<T>(*this);
        } else {
            static_assert(DecodableRecord<T>, "a decoded type needs `static T decode(foundation::Decoder&)`");
            return T::decode(*this);
        }
    }

    // Fails, as container() does, unless the value is an object.
    void expectObject() const;
    // A record read from this value, shared with the record read earlier in
    // the document from a value the same as this one, if any: values that
    // are the same text decode alike, so the two are as good as copies. Only
    // small values are compared; a larger one is read afresh.
    template <typename T>
    std::shared_ptr<T> decodeShared() {
        static constexpr char type = 0;  // an address of its own for each type
        const std::uint64_t fingerprint = sharingFingerprint();
        if (fingerprint != 0) {
            if (auto found = sharedRecord(&type, fingerprint)) {
                return std::static_pointer_cast<T>(std::move(found));
            }
        }
        auto record = std::make_shared<T>(decode<T>());
        if (fingerprint != 0) {
            keepShared(&type, fingerprint, record);
        }
        return record;
    }
    // The value's fingerprint when it is small enough to be shared, 0 otherwise.
    [[nodiscard]] std::uint64_t sharingFingerprint() const;
    [[nodiscard]] std::shared_ptr<void> sharedRecord(const void* type, std::uint64_t fingerprint) const;
    void keepShared(const void* type, std::uint64_t fingerprint, std::shared_ptr<void> record) const;

    [[nodiscard]] bool isNull() const;
    [[nodiscard]] bool decodeBool() const;
    [[nodiscard]] std::int64_t decodeInt64() const;
    [[nodiscard]] int decodeInt() const;
    [[nodiscard]] double decodeDouble() const;
    [[nodiscard]] float decodeFloat() const;
    [[nodiscard]] std::string decodeString() const;
    [[nodiscard]] Text decodeText() const;
    [[nodiscard]] std::string_view stringView(const char* expected) const;
    [[nodiscard]] Data decodeData() const;
    [[nodiscard]] Date decodeDate() const;
    [[nodiscard]] UUID decodeUUID() const;

    DecodingContext* context_;
    std::size_t index_;  // the value's entry in the parsed document
    CodingPathNode node_;
};

}  // namespace foundation
