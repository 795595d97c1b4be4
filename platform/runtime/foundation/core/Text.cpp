#include "platform/runtime/foundation/core/Text.hpp"

#include "platform/runtime/foundation/core/Hasher.hpp"

#include <utf8proc.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <cstdlib>
#include <memory>
#include <optional>

namespace foundation {
namespace {

bool isASCII(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::optional<std::string> transformed(std::string_view text, int options) {
    utf8proc_uint8_t* output = nullptr;
    const utf8proc_ssize_t length =
        utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                     static_cast<utf8proc_ssize_t>(text.size()), &output,
                     static_cast<utf8proc_option_t>(options));
    const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owner(output, std::free);
    if (length < 0) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(output), static_cast<std::size_t>(length));
}

constexpr int composed = UTF8PROC_STABLE | UTF8PROC_COMPOSE;

// ASCII text is its own canonical form, which spares the common case the
// allocation of a normalised copy.
std::string canonical(std::string_view text) {
    if (isASCII(text)) {
        return std::string(text);
    }
    return transformed(text, composed).value_or(std::string(text));
}

}  // namespace

struct Text::Block {
    std::atomic<std::size_t> references;

    [[nodiscard]] char* bytes() noexcept { return reinterpret_cast<char*>(this + 1); }

    // A block with one count, for its maker.
    static Block* make(std::size_t capacity) {
        void* memory = ::operator new(sizeof(Block) + capacity);
        return new (memory) Block{1};
    }
    void retain() noexcept { references.fetch_add(1, std::memory_order_relaxed); }
    void release() noexcept {
        if (references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            this->~Block();
            ::operator delete(this);
        }
    }
};

Text::Text(std::string_view utf8) {
    if (utf8.size() <= inlineCapacity) {
        std::memcpy(inline_, utf8.data(), utf8.size());
        inlineSize_ = static_cast<std::uint8_t>(utf8.size());
        return;
    }
    Block* block = Block::make(utf8.size());
    std::memcpy(block->bytes(), utf8.data(), utf8.size());
    shared_ = {block->bytes(), block, utf8.size()};
    inlineSize_ = inBlockTag;
}

Text::Text(const Text& other) noexcept { copyFrom(other); }

Text::Text(Text&& other) noexcept {
    std::memcpy(static_cast<void*>(this), static_cast<const void*>(&other), sizeof(Text));
    other.inlineSize_ = 0;
}

Text& Text::operator=(const Text& other) noexcept {
    if (this != &other) {
        release();
        copyFrom(other);
    }
    return *this;
}

Text& Text::operator=(Text&& other) noexcept {
    if (this != &other) {
        release();
        std::memcpy(static_cast<void*>(this), static_cast<const void*>(&other), sizeof(Text));
        other.inlineSize_ = 0;
    }
    return *this;
}

Text::~Text() { release(); }

void Text::copyFrom(const Text& other) noexcept {
    std::memcpy(static_cast<void*>(this), static_cast<const void*>(&other), sizeof(Text));
    if (inBlock()) {
        shared_.block->retain();
    }
}

void Text::release() noexcept {
    if (inBlock()) {
        shared_.block->release();
        inlineSize_ = 0;
    }
}

namespace {

// Small enough to stay below the sizes at which the C library's allocator
// tidies its caches on every free, large enough that a decode needs few.
constexpr std::size_t arenaBlockSize = 32 * 1024;

}  // namespace

TextArena::~TextArena() {
    if (block_ != nullptr) {
        block_->release();
    }
}

Text TextArena::make(std::string_view utf8) {
    if (utf8.size() <= Text::inlineCapacity || utf8.size() > arenaBlockSize / 4) {
        return Text(utf8);
    }
    if (utf8.size() > room_) {
        // Made before the last block is let go, so that a failure leaves the arena as it was.
        Text::Block* block = Text::Block::make(arenaBlockSize);
        if (block_ != nullptr) {
            block_->release();
        }
        block_ = block;
        next_ = block_->bytes();
        room_ = arenaBlockSize;
    }
    char* bytes = next_;
    std::memcpy(bytes, utf8.data(), utf8.size());
    next_ += utf8.size();
    room_ -= utf8.size();
    block_->retain();
    return Text(bytes, utf8.size(), block_);
}

std::string Text::normalized() const {
    return canonical(view());
}

bool Text::localizedCaseInsensitiveContains(const Text& other) const {
    const auto fold = [](std::string_view text) {
        return transformed(text, composed | UTF8PROC_CASEFOLD).value_or(std::string(text));
    };
    return fold(view()).find(fold(other.view())) != std::string::npos;
}

bool operator==(const Text& a, const Text& b) {
    const std::string_view left = a.view();
    const std::string_view right = b.view();
    if (left == right) {
        return true;
    }
    if (isASCII(left) && isASCII(right)) {
        return false;
    }
    return canonical(left) == canonical(right);
}

void Text::hash(Hasher& hasher) const {
    const std::string_view bytes = view();
    if (isASCII(bytes)) {
        hasher.combine(bytes);
    } else {
        hasher.combine(std::string_view(canonical(bytes)));
    }
}

}  // namespace foundation

std::size_t std::hash<foundation::Text>::operator()(const foundation::Text& text) const {
    return foundation::hashValue(text);
}
