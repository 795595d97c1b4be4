#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace foundation {

class Hasher;

class TextArena;

// UTF-8 text whose equality is Unicode canonical equivalence: "é" written as
// one code point equals "e" followed by a combining acute accent. The bytes
// are kept as they came, so text written out again is byte for byte what was
// read; only comparison and hashing look through the normalised form.
//
// A text is a value that never changes, so copies share their bytes: a short
// text is held in place, a longer one in a block counted by the texts that
// use it. Texts made in bulk (a decode) share blocks among themselves
// (TextArena).
class Text {
public:
    Text() noexcept {}  // NOLINT(modernize-use-equals-default): the union's member is chosen here
    Text(std::string_view utf8);                                // NOLINT(google-explicit-constructor)
    Text(const std::string& utf8) : Text(std::string_view(utf8)) {}  // NOLINT(google-explicit-constructor)
    Text(const char* utf8) : Text(std::string_view(utf8)) {}    // NOLINT(google-explicit-constructor)
    Text(const Text& other) noexcept;
    Text(Text&& other) noexcept;
    Text& operator=(const Text& other) noexcept;
    Text& operator=(Text&& other) noexcept;
    ~Text();

    [[nodiscard]] std::string str() const { return std::string(view()); }
    [[nodiscard]] std::string_view view() const noexcept {
        return inBlock() ? std::string_view(shared_.bytes, shared_.size) : std::string_view(inline_, inlineSize_);
    }
    [[nodiscard]] bool empty() const noexcept { return view().empty(); }

    // The canonical composition (NFC) of the text; the bytes unchanged when
    // they are not valid UTF-8.
    [[nodiscard]] std::string normalized() const;

    // Case-insensitive containment as a user searching a list expects it:
    // "run" is contained in "Morning Run" and in "RUNNING". Both sides are
    // case-folded and canonically composed first.
    [[nodiscard]] bool localizedCaseInsensitiveContains(const Text& other) const;

    friend bool operator==(const Text& a, const Text& b);
    void hash(Hasher& hasher) const;

private:
    friend class TextArena;

    // Bytes shared by the texts that point into them; the count is theirs.
    struct Block;
    struct Shared {
        const char* bytes;
        Block* block;
        std::size_t size;
    };
    static constexpr std::size_t inlineCapacity = sizeof(Shared);
    static constexpr std::uint8_t inBlockTag = 0xFF;

    // Takes one of the block's counts, which the caller has already added.
    Text(const char* bytes, std::size_t size, Block* block) noexcept : inlineSize_(inBlockTag) {
        shared_ = {bytes, block, size};
    }

    [[nodiscard]] bool inBlock() const noexcept { return inlineSize_ == inBlockTag; }
    void copyFrom(const Text& other) noexcept;
    void release() noexcept;

    union {
        Shared shared_;
        char inline_[inlineCapacity];
    };
    std::uint8_t inlineSize_ = 0;  // inBlockTag when the bytes are in a block
};

// Makes texts for one decode: the bytes of the longer ones are copied into
// blocks of a few pages, each shared by the texts made in it, so that a
// decode of thousands of texts allocates a few dozen blocks. A text that
// outlives the rest keeps at most its own block alive.
class TextArena {
public:
    TextArena() = default;
    TextArena(const TextArena&) = delete;
    TextArena& operator=(const TextArena&) = delete;
    ~TextArena();

    [[nodiscard]] Text make(std::string_view utf8);

private:
    Text::Block* block_ = nullptr;
    char* next_ = nullptr;
    std::size_t room_ = 0;
};

}  // namespace foundation

template <>
struct std::hash<foundation::Text> {
    std::size_t operator()(const foundation::Text& text) const;
};
