#pragma once

#include "platform/runtime/foundation/coding/CodingPath.hpp"

#include <cstddef>
#include <string_view>

namespace foundation {

// The coding path as the coders carry it while they work: a chain of links
// that live on the stack of the nested calls, each pointing at its parent.
// Nothing is allocated on the way down; a CodingPath is built only when an
// error needs one. A link must not outlive the text of its key.
class CodingPathNode {
public:
    // The top-level value.
    constexpr CodingPathNode() = default;
    constexpr CodingPathNode(const CodingPathNode* parent, std::string_view key)
        : parent_(parent), key_(key.data()), keyLengthOrIndex_(key.size()), kind_(Kind::key) {}
    constexpr CodingPathNode(const CodingPathNode* parent, std::size_t index)
        : parent_(parent), keyLengthOrIndex_(index), kind_(Kind::index) {}

    [[nodiscard]] CodingPath path() const;
    // The path of a value one key below this one.
    [[nodiscard]] CodingPath pathAppending(std::string_view key) const;
    [[nodiscard]] std::size_t depth() const noexcept;
    [[nodiscard]] bool isRoot() const noexcept { return kind_ == Kind::root; }

private:
    enum class Kind { root, key, index };

    void appendTo(std::vector<CodingKey>& keys) const;

    const CodingPathNode* parent_ = nullptr;
    const char* key_ = nullptr;
    std::size_t keyLengthOrIndex_ = 0;
    Kind kind_ = Kind::root;
};

}  // namespace foundation
