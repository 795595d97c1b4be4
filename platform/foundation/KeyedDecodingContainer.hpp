#pragma once

#include "platform/foundation/UnkeyedDecodingContainer.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace foundation {

// A JSON object, read by key in any order. Keys it holds that nobody asks for
// are ignored; when an object repeats a key, its last value counts.
//
// Opening the container indexes the object's fields once (a hash table for
// all but the smallest objects, and for those a one-word summary of their
// keys that rules out most absent keys at once), so each key costs about the
// same however many fields the object has and however many of the asked-for
// keys it lacks.
// Records mostly read keys in the order they were written, so the field after
// the last one found is tried before the index.
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

    // One past the key's place among the context's fields, or 0 when the object lacks it.
    [[nodiscard]] std::size_t find(std::string_view key) const;
    [[nodiscard]] std::size_t search(std::string_view key) const;
    [[nodiscard]] Decoder requiredValue(std::string_view key) const;
    // False, leaving the value alone, when the key is absent or null.
    [[nodiscard]] bool presentValue(std::string_view key, Decoder& value) const;
    [[nodiscard]] Decoder valueAt(std::size_t index) const;

    DecodingContext* context_;
    CodingPathNode node_;
    // This object's share of the context's field and slot stacks.
    std::uint32_t firstField_ = 0;
    std::uint32_t fieldCount_ = 0;
    std::uint32_t firstSlot_ = 0;
    std::uint32_t slotCount_ = 0;
    // For objects scanned rather than hashed: one bit for each key's summary (keyBit).
    std::uint64_t keyBits_ = 0;
    // The field tried first; the guess is exact only while no key repeats.
    mutable std::uint32_t next_ = 0;
    bool repeatsKey_ = false;
};

}  // namespace foundation
