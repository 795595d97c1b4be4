#pragma once

#include "platform/runtime/foundation/coding/CodingPathNode.hpp"
#include "platform/runtime/foundation/coding/Decoder.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace foundation {

// The fields of one JSON object in the order they stand, each matched to its
// place among the keys a record declares. A record's keys almost always
// arrive in the order it declares them (the order the server and our own
// encoder write them), so the declared key after the last one matched is
// tried first; other keys are looked for among the rest, and keys the record
// does not declare are passed over. Nothing is indexed or hashed, and keys
// the object lacks cost nothing.
//
// It also finds a declared key's value the way a keyed container does, the
// last of a repeated key, for the record that must report its first failure
// in declared order.
class ObjectFields {
public:
    // The value must be an object; anything else, null included, fails as a keyed container would.
    ObjectFields(const Decoder& object, std::span<const std::string_view> declaredKeys);
    ObjectFields(const ObjectFields&) = delete;
    ObjectFields& operator=(const ObjectFields&) = delete;

    // Reads a declared field's value into the record; which record is the reader's business.
    using Reader = void (*)(Decoder& value, void* record);

    // Hands every field with a declared key, in the order they stand, to the
    // reader at its key's place; gives the places read, a bit each, and notes
    // at each place where the value it read last stands. What a reader throws
    // passes through, and slot() and valuePosition() then tell the field that
    // failed.
    [[nodiscard]] std::uint64_t readAll(const Reader* readers, void* record, std::size_t* readPositions);

    // The last field handed to a reader: its place among the declared keys,
    // and where its value stands in the document (to tell it from another
    // value of the same key).
    [[nodiscard]] std::size_t slot() const noexcept { return slot_; }
    [[nodiscard]] std::size_t valuePosition() const noexcept { return position_ + 1; }

    // The value of the declared key at `slot` as a lookup finds it: the last
    // of a repeated key; none when the object lacks the key.
    [[nodiscard]] std::optional<Decoder> lookUp(std::size_t slot, std::size_t& valuePosition) const;

    // Fails as a keyed container does for a required key the object lacks.
    [[noreturn]] void failMissingKey(std::size_t slot) const;

private:
    [[nodiscard]] std::size_t match(std::string_view key, std::size_t expected) const noexcept;

    DecodingContext* context_;
    CodingPathNode node_;
    std::span<const std::string_view> declaredKeys_;
    std::size_t objectIndex_;
    std::size_t end_;
    std::size_t position_;  // the last field's key in the document
    std::size_t slot_ = 0;
};

}  // namespace foundation
