#include "platform/runtime/foundation/coding/ObjectFields.hpp"

#include "platform/runtime/foundation/coding/internal/DecodingContext.hpp"
#include "platform/runtime/foundation/coding/internal/KeyBytes.hpp"

namespace foundation {

ObjectFields::ObjectFields(const Decoder& object, std::span<const std::string_view> declaredKeys)
    : context_(object.context_), node_(object.node_), declaredKeys_(declaredKeys), objectIndex_(object.index_) {
    object.expectObject();
    end_ = context_->at(objectIndex_).size;
    position_ = objectIndex_;
    following_ = objectIndex_ + 1;
}

std::size_t ObjectFields::match(std::string_view key) const noexcept {
    const std::size_t count = declaredKeys_.size();
    for (std::size_t tried = 0, slot = expected_; tried < count; ++tried) {
        const std::string_view declared = declaredKeys_[slot];
        if (keybytes::sameKey(key.data(), key.size(), declared)) {
            return slot;
        }
        slot = slot + 1 == count ? 0 : slot + 1;
    }
    return count;
}

bool ObjectFields::next() {
    const JSONDocument& document = context_->document();
    while (following_ < end_) {
        position_ = following_;
        following_ = document.after(position_ + 1);
        const std::size_t slot = match(document.at(position_).view());
        if (slot < declaredKeys_.size()) {
            slot_ = slot;
            expected_ = slot + 1 == declaredKeys_.size() ? 0 : slot + 1;
            return true;
        }
    }
    return false;
}

Decoder ObjectFields::value() const {
    // The key in the path is the document's copy, which outlives the declared keys' text too.
    return Decoder(*context_, position_ + 1, CodingPathNode(&node_, context_->at(position_).view()));
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
