#include "platform/runtime/foundation/coding/ObjectFields.hpp"

#include "platform/runtime/foundation/coding/internal/DecodingContext.hpp"
#include "platform/runtime/foundation/coding/internal/KeyBytes.hpp"

namespace foundation {

ObjectFields::ObjectFields(const Decoder& object, std::span<const std::string_view> declaredKeys)
    : context_(object.context_), node_(object.node_), declaredKeys_(declaredKeys), objectIndex_(object.index_) {
    object.expectObject();
    end_ = context_->at(objectIndex_).size;
    position_ = objectIndex_;
}

inline std::size_t ObjectFields::match(std::string_view key, std::size_t expected) const noexcept {
    const std::size_t count = declaredKeys_.size();
    for (std::size_t tried = 0, slot = expected; tried < count; ++tried) {
        if (keybytes::sameKey(key.data(), key.size(), declaredKeys_[slot])) {
            return slot;
        }
        slot = slot + 1 == count ? 0 : slot + 1;
    }
    return count;
}

std::uint64_t ObjectFields::readAll(const Reader* readers, void* record, std::size_t* readPositions) {
    const JSONDocument& document = context_->document();
    const std::size_t count = declaredKeys_.size();
    std::uint64_t read = 0;
    std::size_t expected = 0;  // the declared key after the last one found
    for (std::size_t key = objectIndex_ + 1; key < end_;) {
        const std::size_t value = key + 1;
        const JSONDocument::Entry& keyEntry = document.at(key);
        const std::size_t slot = match(keyEntry.view(), expected);
        if (slot < count) {
            position_ = key;
            slot_ = slot;
            // The key in the path is the document's copy, which outlives the declared keys' text too.
            Decoder decoder(*context_, value, CodingPathNode(&node_, keyEntry.view()));
            readers[slot](decoder, record);
            read |= std::uint64_t{1} << slot;
            readPositions[slot] = value;
            expected = slot + 1 == count ? 0 : slot + 1;
        }
        key = document.after(value);
    }
    return read;
}

std::optional<Decoder> ObjectFields::lookUp(std::size_t slot, std::size_t& valuePosition) const {
    const JSONDocument& document = context_->document();
    const std::string_view key = declaredKeys_[slot];
    std::size_t found = 0;
    for (std::size_t index = objectIndex_ + 1; index < end_; index = document.after(index + 1)) {
        const auto& entry = document.at(index);
        if (keybytes::sameKey(entry.text, entry.size, key)) {
            found = index;
        }
    }
    if (found == 0) {
        return std::nullopt;
    }
    valuePosition = found + 1;
    return Decoder(*context_, found + 1, CodingPathNode(&node_, document.at(found).view()));
}

void ObjectFields::failMissingKey(std::size_t slot) const {
    throwKeyNotFound(node_, declaredKeys_[slot]);
}

}  // namespace foundation
