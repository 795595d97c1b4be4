#pragma once

#include "platform/runtime/foundation/coding/UnkeyedDecodingContainer.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace foundation {

// A JSON object, read by key in any order. Keys it holds that nobody asks for
// are ignored; when an object repeats a key, its last value counts.
//
// Small objects are scanned, after a one-word summary of their keys (made
// when the document was parsed) has ruled out most absent keys at once;
// opening a larger one indexes its fields in a hash table. So each key costs
// about the same however many fields the object has and however many of the
// asked-for keys it lacks.
// Records mostly read keys in the order they were written, so the field after
// the last one found is tried first.
class KeyedDecodingContainer {
public:
    KeyedDecodingContainer(const KeyedDecodingContainer&) = delete;
    KeyedDecodingContainer& operator=(const KeyedDecodingContainer&) = delete;
    KeyedDecodingContainer(KeyedDecodingContainer&& other) noexcept;
    KeyedDecodingContainer& operator=(KeyedDecodingContainer&&) = delete;
    ~KeyedDecodingContainer();

    // A required value: an absent key, null or a value of another type fails.
    template <typename T>
    T decode(std::string_view key) const {
        Decoder value = requiredValue(key);
        return value.decode<T>();
    }

    // An optional value: an absent key or null gives no value; a value of
    // another type still fails.
    template <typename T>
    std::optional<T> decodeIfPresent(std::string_view key) const {
        Decoder value(*context_, 0, node_);
        if (!presentValue(key, value)) {
            return std::nullopt;
        }
        return value.decode<T>();
    }

    // Whether the object has the key, with null as its value too.
    [[nodiscard]] bool contains(std::string_view key) const;
    // Whether the key's value is null; an absent key fails.
    [[nodiscard]] bool decodeNil(std::string_view key) const;

    [[nodiscard]] KeyedDecodingContainer nestedContainer(std::string_view key) const;
    [[nodiscard]] UnkeyedDecodingContainer nestedUnkeyedContainer(std::string_view key) const;

    [[nodiscard]] CodingPath codingPath() const { return node_.path(); }

private:
    friend class Decoder;

    KeyedDecodingContainer(DecodingContext& context, std::size_t objectIndex, CodingPathNode node);

    // The index of the key's value in the document, or 0 when the object lacks it.
    [[nodiscard]] std::size_t find(std::string_view key) const;
    [[nodiscard]] std::size_t search(std::string_view key) const;
    [[nodiscard]] std::size_t scan(std::string_view key) const;
    [[nodiscard]] Decoder requiredValue(std::string_view key) const;
    // False, leaving the value alone, when the key is absent or null.
    [[nodiscard]] bool presentValue(std::string_view key, Decoder& value) const;
    [[nodiscard]] Decoder valueAt(std::size_t index) const;

    DecodingContext* context_;
    CodingPathNode node_;
    // Where the object's entries lie in the document.
    std::size_t objectIndex_ = 0;
    std::size_t end_ = 0;
    // For objects hashed rather than scanned: their share of the context's
    // field and slot stacks.
    std::uint32_t firstField_ = 0;
    std::uint32_t fieldCount_ = 0;
    std::uint32_t firstSlot_ = 0;
    std::uint32_t slotCount_ = 0;
    // For objects scanned: the summary of their keys.
    std::uint64_t keyBits_ = 0;
    // The field tried first (its key's index in the document for a scanned
    // object, its place among the fields for a hashed one); the guess is
    // exact only while no key repeats.
    mutable std::size_t next_ = 0;
    bool repeatsKey_ = false;
};

}  // namespace foundation
