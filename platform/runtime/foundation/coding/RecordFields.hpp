#pragma once

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"
#include "platform/runtime/foundation/coding/ObjectFields.hpp"
#include "platform/runtime/foundation/coding/UnkeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/UnkeyedEncodingContainer.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>
#include <tuple>
#include <type_traits>

namespace foundation {

// A record's fields declared once, in the order of its keys: the one table
// drives its decoding, its encoding and its hashing.
//
//     using Fields = foundation::RecordFields<
//         foundation::Required<"id", &Journal::id>,
//         foundation::Optional<"iconLink", &Journal::iconLink>,
//         foundation::Uncoded<&Journal::iconImageData>>;
//
// A required field fails when its key is absent or null; an optional one
// (a std::optional, or a box with `value_type`, `get()` and a constructor
// from its value, and perhaps one from a shared record) is left empty then,
// and left out when written. A field's
// value is read and written by its type's own rule, or by a coding of its
// own (`static Value decode(Decoder&)`, `static void encode(Encoder&, const
// Value&)`). An uncoded field is only hashed.
//
// Decoding walks the object's fields once, in the order they stand, and
// reads each into its member. What comes out is what reading the declared
// keys one by one through a keyed container gives: the last of a repeated
// key counts, unknown keys are passed over, and when the object holds more
// than one fault the one reported is that of the first key in declared order.

// A key literal, as a template argument.
template <std::size_t N>
struct FieldKey {
    consteval FieldKey(const char (&literal)[N]) {  // NOLINT(google-explicit-constructor)
        for (std::size_t i = 0; i < N; ++i) {
            text[i] = literal[i];
        }
    }
    [[nodiscard]] constexpr std::string_view view() const noexcept { return {text, N - 1}; }

    char text[N]{};
};

namespace recordfields {

// What the tables need of a decoder that records do not: reading a value by its type's rule, and null.
struct DecoderAccess {
    template <typename Value>
    static Value decode(Decoder& value) {
        return value.decode<Value>();
    }
    template <typename Value>
    static std::shared_ptr<Value> decodeShared(Decoder& value) {
        return value.decodeShared<Value>();
    }
    static bool isNull(const Decoder& value) { return value.isNull(); }
};

template <typename MemberPointer>
struct MemberOf;
template <typename Record, typename Type>
struct MemberOf<Type Record::*> {
    using RecordType = Record;
    using MemberType = Type;
};

// What an optional member holds when it has a value, and the value itself.
template <typename Member>
struct Box {
    static constexpr bool holdsItsOwnValue = false;
    using Value = typename Member::value_type;
    static const Value* get(const Member& member) noexcept { return member.get(); }
};
template <typename Value_>
struct Box<std::optional<Value_>> {
    static constexpr bool holdsItsOwnValue = true;
    using Value = Value_;
    static const Value* get(const std::optional<Value>& member) noexcept { return member ? &*member : nullptr; }
};

// The value written through a coding of its own.
template <typename Coding, typename Value>
struct Coded {
    const Value& value;
    void encode(Encoder& encoder) const { Coding::encode(encoder, value); }
};

template <typename Value, typename Coding>
struct ValueCoding {
    static Value read(Decoder& value) {
        if constexpr (std::is_void_v<Coding>) {
            return DecoderAccess::decode<Value>(value);
        } else {
            return Coding::decode(value);
        }
    }
    static void write(KeyedEncodingContainer& container, const KeyedEncodingContainer::Key& key,
                      const Value& value) {
        if constexpr (std::is_void_v<Coding>) {
            container.encode(key, value);
        } else {
            container.encode(key, Coded<Coding, Value>{value});
        }
    }
};

template <typename Value>
void hashValue(Hasher& hasher, const Value& value) {
    if constexpr (std::is_enum_v<Value>) {
        hasher.combine(static_cast<std::uint64_t>(static_cast<std::underlying_type_t<Value>>(value)));
    } else {
        hasher.combine(value);
    }
}

}  // namespace recordfields

template <FieldKey Key, auto Member, typename Coding = void>
struct Required {
    using Record = typename recordfields::MemberOf<decltype(Member)>::RecordType;
    using Value = typename recordfields::MemberOf<decltype(Member)>::MemberType;
    using Rule = recordfields::ValueCoding<Value, Coding>;

    static constexpr bool coded = true;
    static constexpr bool required = true;
    static constexpr std::string_view key = Key.view();

    static void read(Decoder& value, void* record) { static_cast<Record*>(record)->*Member = Rule::read(value); }
    static void write(KeyedEncodingContainer& container, const Record& record) {
        static constexpr KeyedEncodingContainer::Key encodingKey{Key.text};
        Rule::write(container, encodingKey, record.*Member);
    }
    static void hash(Hasher& hasher, const Record& record) { recordfields::hashValue(hasher, record.*Member); }
};

template <FieldKey Key, auto Member, typename Coding = void>
struct Optional {
    using Record = typename recordfields::MemberOf<decltype(Member)>::RecordType;
    using MemberType = typename recordfields::MemberOf<decltype(Member)>::MemberType;
    using Box = recordfields::Box<MemberType>;
    using Rule = recordfields::ValueCoding<typename Box::Value, Coding>;
    // A box that can hold a record shared with others holds one record for
    // all the values in a document that are the same text (a comment's
    // author, say, once for every comment of theirs).
    // (An optional holds a value of its own; one of bool would even take a pointer as its value.)
    static constexpr bool sharesRecords = !Box::holdsItsOwnValue && std::is_void_v<Coding> &&
                                          std::is_constructible_v<MemberType, std::shared_ptr<typename Box::Value>>;

    static constexpr bool coded = true;
    static constexpr bool required = false;
    static constexpr std::string_view key = Key.view();

    static void read(Decoder& value, void* record) {
        auto& member = static_cast<Record*>(record)->*Member;
        if (recordfields::DecoderAccess::isNull(value)) {
            member = std::nullopt;
        } else if constexpr (sharesRecords) {
            member = MemberType(recordfields::DecoderAccess::decodeShared<typename Box::Value>(value));
        } else {
            member = Rule::read(value);
        }
    }
    static void write(KeyedEncodingContainer& container, const Record& record) {
        static constexpr KeyedEncodingContainer::Key encodingKey{Key.text};
        if (const auto* value = Box::get(record.*Member)) {
            Rule::write(container, encodingKey, *value);
        }
    }
    static void hash(Hasher& hasher, const Record& record) { hasher.combine(record.*Member); }
};

// A member that is part of the record's value but never coded, such as bytes fetched for a view.
template <auto Member>
struct Uncoded {
    using Record = typename recordfields::MemberOf<decltype(Member)>::RecordType;

    static constexpr bool coded = false;
    static constexpr bool required = false;
    static constexpr std::string_view key = {};

    static void hash(Hasher& hasher, const Record& record) { hasher.combine(record.*Member); }
};

template <typename... Fields>
class RecordFields {
    using First = std::tuple_element_t<0, std::tuple<Fields...>>;

public:
    using Record = typename First::Record;
    static_assert((std::is_same_v<typename Fields::Record, Record> && ...), "a table's fields belong to one record");

    static Record decode(Decoder& decoder) {
        ObjectFields fields(decoder, keys);
        Record record;
        std::array<std::size_t, codedCount> readPositions{};
        std::uint64_t seen = 0;
        try {
            seen = fields.readAll(readers.data(), &record, readPositions.data());
        } catch (...) {
            finishInDeclaredOrder(record, fields, readPositions, std::current_exception());
            return record;
        }
        if (const std::uint64_t missing = requiredSlots & ~seen) {
            fields.failMissingKey(static_cast<std::size_t>(std::countr_zero(missing)));
        }
        return record;
    }

    static void encode(Encoder& encoder, const Record& record) {
        KeyedEncodingContainer container = encoder.container();
        ([&] {
            if constexpr (Fields::coded) {
                Fields::write(container, record);
            }
        }(), ...);
    }

    static void hash(Hasher& hasher, const Record& record) { (Fields::hash(hasher, record), ...); }

private:
    using Reader = ObjectFields::Reader;

    static constexpr std::size_t codedCount = ((Fields::coded ? 1 : 0) + ...);
    static_assert(codedCount <= 64, "a record's coded fields are tracked in one word");

    // What `property` gives for each coded field, in declared order: its slot's entry.
    template <typename Value, typename Property>
    static constexpr std::array<Value, codedCount> perCodedField(Property property) {
        std::array<Value, codedCount> declared{};
        std::size_t slot = 0;
        ([&] {
            if constexpr (Fields::coded) {
                declared[slot++] = property.template operator()<Fields>();
            }
        }(), ...);
        return declared;
    }

    static constexpr auto keys = perCodedField<std::string_view>([]<typename Field>() { return Field::key; });
    static constexpr auto readers = perCodedField<Reader>([]<typename Field>() { return &Field::read; });
    static constexpr auto requiredAt = perCodedField<bool>([]<typename Field>() { return Field::required; });

    static constexpr std::uint64_t requiredSlots = [] {
        std::uint64_t slots = 0;
        for (std::size_t slot = 0; slot < codedCount; ++slot) {
            slots |= requiredAt[slot] ? std::uint64_t{1} << slot : 0;
        }
        return slots;
    }();

    // After a field failed: the keys again in declared order, each looked up,
    // so that the fault reported is the first in that order. No value is read
    // twice: one already read stays as it was read, and the one that failed
    // fails again as it did (a fault deep in a document would otherwise be
    // read again at every level above it). When the value that failed was
    // only an earlier value of a repeated key, the one that counts may read,
    // and the record is whole after all.
    static void finishInDeclaredOrder(Record& record, const ObjectFields& fields,
                                      const std::array<std::size_t, codedCount>& readPositions,
                                      const std::exception_ptr& failure) {
        const std::size_t failedSlot = fields.slot();
        const std::size_t failedPosition = fields.valuePosition();
        for (std::size_t slot = 0; slot < codedCount; ++slot) {
            std::size_t position = 0;
            std::optional<Decoder> value = fields.lookUp(slot, position);
            if (!value) {
                if (requiredAt[slot]) {
                    fields.failMissingKey(slot);
                }
                continue;
            }
            if (slot == failedSlot && position == failedPosition) {
                std::rethrow_exception(failure);
            }
            if (readPositions[slot] != position) {
                readers[slot](*value, &record);
            }
        }
    }
};

}  // namespace foundation
