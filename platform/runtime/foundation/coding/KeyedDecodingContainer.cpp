#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"

#include "platform/runtime/foundation/coding/internal/DecodingContext.hpp"
#include "platform/runtime/foundation/coding/internal/KeyBytes.hpp"
#include "platform/runtime/foundation/coding/DecodingError.hpp"

#include <bit>
#include <cstring>

namespace foundation {
namespace {

using keybytes::load;

// Keys are short; their first and last eight bytes and their length tell
// them apart well enough, and a collision costs only a comparison.
std::uint32_t hashKey(std::string_view key) {
    const std::size_t n = key.size();
    const char* p = key.data();
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    if (n >= 8) {
        head = load(p, 8);
        tail = load(p + n - 8, 8);
    } else if (n >= 4) {
        head = load(p, 4);
        tail = load(p + n - 4, 4);
    } else if (n > 0) {
        head = static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[n / 2]) << 8 |
               static_cast<unsigned char>(p[n - 1]) << 16;
    }
    std::uint64_t h = (head ^ 0x9E3779B97F4A7C15ull) * 0xBF58476D1CE4E5B9ull;
    h ^= std::rotl((tail ^ n) * 0x94D049BB133111EBull, 29);
    h ^= h >> 32;
    return static_cast<std::uint32_t>(h);
}

[[gnu::always_inline]] inline bool sameKey(const DecodingContext::Field& field, std::string_view key) {
    return keybytes::sameKey(field.key, field.keyLength, key);
}

}  // namespace

// Out of line, so that the lookup that every required field makes keeps a small frame.
[[noreturn, gnu::noinline, gnu::cold]] void throwKeyNotFound(const CodingPathNode& node, std::string_view key) {
    throw DecodingError(DecodingError::Kind::keyNotFound, node.pathAppending(key),
                        "No value associated with key \"" + std::string(key) + "\".");
}

namespace {

[[gnu::always_inline]] inline bool sameKey(const JSONDocument::Entry& entry, std::string_view key) {
    return keybytes::sameKey(entry.text, entry.size, key);
}

}  // namespace

KeyedDecodingContainer::KeyedDecodingContainer(DecodingContext& context, std::size_t objectIndex,
                                               CodingPathNode node)
    : context_(&context), node_(node), objectIndex_(objectIndex) {
    const JSONDocument& document = context.document();
    const JSONDocument::Entry& object = document.at(objectIndex);
    end_ = object.size;
    if ((object.fields & ~JSONDocument::repeatsKey) <= JSONDocument::smallObjectLimit) {
        keyBits_ = object.keyBits;
        repeatsKey_ = (object.fields & JSONDocument::repeatsKey) != 0;
        next_ = objectIndex + 1;
        return;
    }
    auto& fields = context.fields();
    firstField_ = static_cast<std::uint32_t>(fields.size());
    for (std::size_t index = objectIndex + 1; index < end_;) {
        const auto& key = document.at(index);
        fields.push_back({key.text, key.size, hashKey(key.view()), index + 1});
        index = document.after(index + 1);
    }
    fieldCount_ = static_cast<std::uint32_t>(fields.size()) - firstField_;
    auto& slots = context.slots();
    firstSlot_ = static_cast<std::uint32_t>(slots.size());
    slotCount_ = std::bit_ceil(fieldCount_ * 2);
    slots.resize(slots.size() + slotCount_, 0);
    const std::uint32_t mask = slotCount_ - 1;
    for (std::uint32_t i = 0; i < fieldCount_; ++i) {
        const auto& field = fields[firstField_ + i];
        for (std::uint32_t slot = field.keyHash & mask;; slot = (slot + 1) & mask) {
            std::uint32_t& entry = slots[firstSlot_ + slot];
            if (entry == 0) {
                entry = i + 1;
                break;
            }
            const auto& other = fields[firstField_ + entry - 1];
            if (other.keyHash == field.keyHash && sameKey(other, field.keyView())) {
                entry = i + 1;  // a repeated key: the later value replaces the earlier
                repeatsKey_ = true;
                break;
            }
        }
    }
}

KeyedDecodingContainer::KeyedDecodingContainer(KeyedDecodingContainer&& other) noexcept
    : context_(other.context_),
      node_(other.node_),
      objectIndex_(other.objectIndex_),
      end_(other.end_),
      firstField_(other.firstField_),
      fieldCount_(other.fieldCount_),
      firstSlot_(other.firstSlot_),
      slotCount_(other.slotCount_),
      keyBits_(other.keyBits_),
      next_(other.next_),
      repeatsKey_(other.repeatsKey_) {
    other.context_ = nullptr;
}

// Gives the index back when it is on top of the stacks; a container that ends
// out of order leaves its share to the end of the decode.
KeyedDecodingContainer::~KeyedDecodingContainer() {
    if (context_ == nullptr || slotCount_ == 0) {
        return;
    }
    auto& fields = context_->fields();
    if (firstField_ + fieldCount_ == fields.size()) {
        fields.resize(firstField_);
    }
    auto& slots = context_->slots();
    if (firstSlot_ + slotCount_ == slots.size()) {
        slots.resize(firstSlot_);
    }
}

// The common case, inlined into its callers; the rest is out of line so that
// this stays a handful of instructions.
inline std::size_t KeyedDecodingContainer::find(std::string_view key) const {
    if (slotCount_ == 0) {
        const JSONDocument& document = context_->document();
        if (!repeatsKey_ && next_ < end_ && sameKey(document.at(next_), key)) [[likely]] {
            const std::size_t value = next_ + 1;
            next_ = document.after(value);
            return value;
        }
        // Most misses of the guess are optional fields left out of a small object.
        if ((keyBits_ & JSONDocument::keyBit(key)) == 0) {
            return 0;
        }
        return scan(key);
    }
    const auto& fields = context_->fields();
    if (!repeatsKey_ && next_ < fieldCount_ && sameKey(fields[firstField_ + next_], key)) [[likely]] {
        return fields[firstField_ + next_++].value;
    }
    return search(key);
}

// The last of a repeated key counts.
std::size_t KeyedDecodingContainer::scan(std::string_view key) const {
    const JSONDocument& document = context_->document();
    std::size_t found = 0;
    for (std::size_t index = objectIndex_ + 1; index < end_; index = document.after(index + 1)) {
        if (sameKey(document.at(index), key)) {
            found = index + 1;
            if (!repeatsKey_) {
                break;
            }
        }
    }
    if (found != 0) {
        next_ = document.after(found);
    }
    return found;
}

std::size_t KeyedDecodingContainer::search(std::string_view key) const {
    const auto& fields = context_->fields();
    const std::uint32_t hash = hashKey(key);
    const auto& slots = context_->slots();
    const std::uint32_t mask = slotCount_ - 1;
    for (std::uint32_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t entry = slots[firstSlot_ + slot];
        if (entry == 0) {
            return 0;
        }
        const auto& field = fields[firstField_ + entry - 1];
        if (field.keyHash == hash && sameKey(field, key)) {
            next_ = entry;
            return field.value;
        }
    }
}

Decoder KeyedDecodingContainer::valueAt(std::size_t value) const {
    // The key in the path is the document's copy, which outlives whatever text the caller passed.
    return Decoder(*context_, value, CodingPathNode(&node_, context_->at(value - 1).view()));
}

Decoder KeyedDecodingContainer::requiredValue(std::string_view key) const {
    const std::size_t found = find(key);
    if (found == 0) [[unlikely]] {
        throwKeyNotFound(node_, key);
    }
    return valueAt(found);
}

bool KeyedDecodingContainer::presentValue(std::string_view key, Decoder& value) const {
    const std::size_t found = find(key);
    if (found == 0 || context_->at(found).kind == JSONDocument::Kind::null) {
        return false;
    }
    value = valueAt(found);
    return true;
}

bool KeyedDecodingContainer::contains(std::string_view key) const {
    return find(key) != 0;
}

bool KeyedDecodingContainer::decodeNil(std::string_view key) const {
    return requiredValue(key).isNull();
}

KeyedDecodingContainer KeyedDecodingContainer::nestedContainer(std::string_view key) const {
    return requiredValue(key).container();
}

UnkeyedDecodingContainer KeyedDecodingContainer::nestedUnkeyedContainer(std::string_view key) const {
    return requiredValue(key).unkeyedContainer();
}

}  // namespace foundation
