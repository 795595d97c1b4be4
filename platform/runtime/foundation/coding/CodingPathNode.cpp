#include "platform/runtime/foundation/coding/CodingPathNode.hpp"

#include <algorithm>

namespace foundation {

CodingPath CodingPathNode::path() const {
    std::vector<CodingKey> keys;
    keys.reserve(depth());
    appendTo(keys);
    return CodingPath(std::move(keys));
}

CodingPath CodingPathNode::pathAppending(std::string_view key) const {
    std::vector<CodingKey> keys;
    keys.reserve(depth() + 1);
    appendTo(keys);
    keys.emplace_back(key);
    return CodingPath(std::move(keys));
}

std::size_t CodingPathNode::depth() const noexcept {
    std::size_t count = 0;
    for (const CodingPathNode* node = this; node != nullptr; node = node->parent_) {
        count += node->kind_ == Kind::root ? 0 : 1;
    }
    return count;
}

// Iterative, so that a path as deep as the deepest document costs no stack.
void CodingPathNode::appendTo(std::vector<CodingKey>& keys) const {
    const std::size_t first = keys.size();
    for (const CodingPathNode* node = this; node != nullptr; node = node->parent_) {
        switch (node->kind_) {
        case Kind::root:
            break;
        case Kind::key:
            keys.emplace_back(std::string_view(node->key_, node->keyLengthOrIndex_));
            break;
        case Kind::index:
            keys.push_back(CodingKey::index(node->keyLengthOrIndex_));
            break;
        }
    }
    std::reverse(keys.begin() + static_cast<std::ptrdiff_t>(first), keys.end());
}

}  // namespace foundation
