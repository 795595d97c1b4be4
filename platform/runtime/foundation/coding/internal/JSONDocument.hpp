#pragma once

// Private to the decoder's sources: the one place that parses JSON text.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace foundation {

// A parsed JSON document, laid out flat for reading in any order: every value
// is one entry, in document order. An object's entries are its keys, each
// followed by its value; a list's are its elements. A container's entry says
// where the entries after its last one begin, so that a reader steps over a
// value of any size at once; a small object's entry also sums up its keys.
// Texts point into the parser's buffers and live until the next parse. (A
// document of at most 4 GB has far fewer than 2^32 entries.)
//
// A number has one exact value, its text, and each reader must round that
// text once to the type it wants; a number beyond every type's range fails
// only where a field reads it. The quick parse keeps integers exactly but
// other numbers as the nearest double, which holds what a double field needs
// and, mostly, what others need; where it does not (an integer field given
// a double with no fraction, which may have lost one; a float field given a
// double close to halfway between two floats), the reader throws
// ExactNumbersNeeded and the decode starts again on a parse that keeps every
// number's text. A document holding a number that the quick parse cannot hold
// at all is parsed again that way at once. Both parses go through simdjson's
// public interface (its tree for the quick one, its forward-only reader for
// the exact one), and only this file's source sees simdjson.
class JSONDocument {
public:
    enum class Kind : std::uint8_t {
        object,
        list,
        string,
        integer,          // fits in 64 bits signed
        largeInteger,     // beyond the signed range, within the unsigned one
        nearestDouble,    // a number with a fraction or an exponent, as the nearest double
        number,           // a number as written
        trueValue,
        falseValue,
        null,
    };

    struct ExactNumbersNeeded {};

    // Objects of up to this many fields are read by scanning their keys.
    static constexpr std::uint8_t smallObjectLimit = 8;
    static constexpr std::uint8_t repeatsKey = 0x80;

    struct Entry {
        union {
            const char* text;  // strings and keys (unescaped), numbers (as written)
            std::size_t count;        // lists: their elements
            std::uint64_t keyBits;    // small objects: the summary of their keys (keyBit)
            std::int64_t integer;
            std::uint64_t largeInteger;
            double nearestDouble;
        };
        std::uint32_t size;  // the length of the text; objects and lists: the index after their last entry
        Kind kind;
        // Objects: their field count when it is at most smallObjectLimit
        // (more otherwise), with repeatsKey set when a small one repeats a key.
        std::uint8_t fields;

        [[nodiscard]] std::string_view view() const noexcept { return {text, size}; }
    };

    // A key's one bit in the summary of a small object's keys, from its length
    // and its end characters. Records ask small objects for many keys they
    // lack (the optional fields left out when they were written): a key whose
    // bit is clear is absent without a scan. Two keys can only be the same
    // when they share a bit.
    [[gnu::always_inline]] static std::uint64_t keyBit(std::string_view key) noexcept {
        const std::size_t n = key.size();
        const std::uint32_t ends =
            n == 0 ? 0u
                   : static_cast<std::uint32_t>(static_cast<unsigned char>(key[0])) |
                         static_cast<std::uint32_t>(static_cast<unsigned char>(key[n - 1])) << 8;
        const std::uint32_t mixed = (ends ^ static_cast<std::uint32_t>(n) << 16) * 0x9E3779B1u;
        return std::uint64_t{1} << (mixed >> 26);
    }

    // The failure of a parse, as text for the developer.
    struct Failure {
        std::string description;
    };

    JSONDocument();
    ~JSONDocument();
    JSONDocument(const JSONDocument&) = delete;
    JSONDocument& operator=(const JSONDocument&) = delete;

    // Replaces what the document held; on failure gives why, and the document holds nothing.
    // Values nested deeper than `maximumDepth` fail.
    [[nodiscard]] bool parse(std::string_view json, std::size_t maximumDepth, bool exactNumbers,
                             Failure& failure);

    // The entries in a buffer of their own, which keeps its room from one
    // parse to the next; the layout of the quick parse makes room for a
    // container's entries a field at a time and writes them without a check each.
    class Entries {
    public:
        [[nodiscard]] Entry& operator[](std::size_t index) noexcept { return data_[index]; }
        [[nodiscard]] const Entry& operator[](std::size_t index) const noexcept { return data_[index]; }
        [[nodiscard]] Entry* data() noexcept { return data_.get(); }
        [[nodiscard]] std::size_t size() const noexcept { return size_; }
        [[nodiscard]] std::size_t room() const noexcept { return capacity_ - size_; }
        // Entries up to `size` must have been written.
        void resize(std::size_t size) noexcept { size_ = size; }
        void clear() noexcept { size_ = 0; }
        [[nodiscard]] Entry& back() noexcept { return data_[size_ - 1]; }
        void push_back(const Entry& entry) {
            reserveMore(1);
            data_[size_++] = entry;
        }
        void reserveMore(std::size_t count) {
            if (room() < count) {
                grow(count);
            }
        }

    private:
        void grow(std::size_t count);

        std::unique_ptr<Entry[]> data_;
        std::size_t size_ = 0;
        std::size_t capacity_ = 0;
    };

    // The root value is entry 0.
    [[nodiscard]] const Entry& at(std::size_t index) const noexcept { return entries_[index]; }
    // The index of the entry after the value that starts at `index`.
    [[nodiscard]] std::size_t after(std::size_t index) const noexcept {
        const Entry& entry = entries_[index];
        return entry.kind == Kind::object || entry.kind == Kind::list ? entry.size : index + 1;
    }

    // A hash of the value at `index` and everything in it, and whether two
    // values are the same text for a reader: the same entries, keys and
    // strings byte for byte, numbers alike, wherever they stand.
    [[nodiscard]] std::uint64_t fingerprint(std::size_t index) const noexcept;
    [[nodiscard]] bool sameValue(std::size_t a, std::size_t b) const noexcept;

private:
    struct Parsers;

    [[nodiscard]] bool parseQuickly(std::string_view json, std::size_t maximumDepth, Failure& failure);
    [[nodiscard]] bool parseExactly(std::string_view json, std::size_t maximumDepth, Failure& failure);

    std::unique_ptr<Parsers> parsers_;
    Entries entries_;
};

}  // namespace foundation
