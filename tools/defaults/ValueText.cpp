#include "tools/defaults/ValueText.hpp"

#include "platform/runtime/base/Overloaded.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace defaults_tool {
namespace {

constexpr std::string_view hexDigits = "0123456789abcdef";
constexpr std::uint64_t everyByte = 0x0101010101010101;
constexpr std::uint64_t highBits = 0x8080808080808080;

std::uint64_t wordAt(const char* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// The high bit set in each byte of the word that is below `bound` (at most
// 0x80), and perhaps in bytes of higher significance than such a byte (a
// borrow carries over), but never in any byte when none is below it.
constexpr std::uint64_t bytesBelow(std::uint64_t word, std::uint64_t bound) {
    return (word - everyByte * bound) & ~word & highBits;
}

constexpr std::uint64_t bytesEqual(std::uint64_t word, std::uint64_t byte) {
    return bytesBelow(word ^ (everyByte * byte), 1);
}

// What may follow a lead byte: the length of its sequence (none for a byte
// that cannot lead one) and the range of the byte after it, which rules out
// overlong forms, surrogates and code points past U+10FFFF.
struct LeadRule {
    std::uint8_t length = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
};

constexpr std::array<LeadRule, 256> leadRules = [] {
    std::array<LeadRule, 256> rules{};
    for (std::size_t lead = 0; lead < rules.size(); ++lead) {
        auto& rule = rules[lead];
        if (lead < 0x80) {
            rule.length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            rule.length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            rule.length = 3;
            rule.low = lead == 0xE0 ? 0xA0 : 0x80;
            rule.high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            rule.length = 4;
            rule.low = lead == 0xF0 ? 0x90 : 0x80;
            rule.high = lead == 0xF4 ? 0x8F : 0xBF;
        }
    }
    return rules;
}();

// Well-formed UTF-8 as Unicode defines it. Runs of ASCII, most of a JSON
// text, go sixteen bytes at a time.
bool isValidUTF8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    constexpr std::size_t asciiStep = 2 * sizeof(std::uint64_t);
    constexpr std::size_t longest = 4;
    std::size_t i = 0;
    // With the longest sequence's bytes there to read, a sequence is checked
    // without branching on its length, which mixed scripts would mispredict.
    while (i + longest <= size) {
        if (i + asciiStep <= size &&
            ((wordAt(text.data() + i) | wordAt(text.data() + i + sizeof(std::uint64_t))) & highBits) == 0) {
            i += asciiStep;
            continue;
        }
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        const LeadRule& rule = leadRules[bytes[i]];
        const bool continues2 = (bytes[i + 2] & 0xC0) == 0x80;
        const bool continues3 = (bytes[i + 3] & 0xC0) == 0x80;
        const bool valid = (rule.length != 0) & (bytes[i + 1] >= rule.low) & (bytes[i + 1] <= rule.high) &
                           ((rule.length < 3) | continues2) & ((rule.length < 4) | continues3);
        if (!valid) {
            return false;
        }
        i += rule.length;
    }
    while (i < size) {
        const LeadRule& rule = leadRules[bytes[i]];
        if (rule.length == 0 || rule.length > size - i ||
            (rule.length > 1 && (bytes[i + 1] < rule.low || bytes[i + 1] > rule.high))) {
            return false;
        }
        for (std::size_t k = 2; k < rule.length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                return false;
            }
        }
        i += rule.length;
    }
    return true;
}

constexpr bool needsEscape(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F || byte == '\\';
}

constexpr std::array<bool, 256> escapedBytes = [] {
    std::array<bool, 256> table{};
    for (std::size_t byte = 0; byte < table.size(); ++byte) {
        table[byte] = needsEscape(static_cast<unsigned char>(byte));
    }
    return table;
}();

// Gathers what is written into blocks, so that a value of megabytes reaches
// the stream in a few large writes and is never held whole a second time.
class BlockWriter {
public:
    explicit BlockWriter(std::ostream& stream) : stream_(stream) {}
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;
    ~BlockWriter() { flush(); }

    void append(std::string_view bytes) {
        // Most runs between escapes are short and fit in what is left.
        if (bytes.size() <= block_.size() - used_) {
            std::memcpy(block_.data() + used_, bytes.data(), bytes.size());
            used_ += bytes.size();
            return;
        }
        while (!bytes.empty()) {
            if (used_ == block_.size()) {
                flush();
            }
            const std::size_t count = std::min(bytes.size(), block_.size() - used_);
            std::memcpy(block_.data() + used_, bytes.data(), count);
            used_ += count;
            bytes.remove_prefix(count);
        }
    }

private:
    void flush() {
        stream_.write(block_.data(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }

    std::ostream& stream_;
    std::array<char, 64 * 1024> block_;
    std::size_t used_ = 0;
};

// The offset of the first byte of `text` from `from` on that needs escaping,
// or the size of the text: whole words with none are stepped over at once.
std::size_t nextEscaped(std::string_view text, std::size_t from) {
    std::size_t i = from;
    while (i + sizeof(std::uint64_t) <= text.size()) {
        const std::uint64_t word = wordAt(text.data() + i);
        const std::uint64_t escaped = bytesBelow(word, 0x20) | bytesEqual(word, 0x7F) | bytesEqual(word, '\\');
        if (escaped != 0) {
            // The lowest flagged byte is a true one; in memory it comes first
            // only when the low byte is the first.
            if constexpr (std::endian::native == std::endian::little) {
                return i + static_cast<std::size_t>(std::countr_zero(escaped)) / 8;
            }
            break;
        }
        i += sizeof(std::uint64_t);
    }
    while (i < text.size() && !escapedBytes[static_cast<unsigned char>(text[i])]) {
        ++i;
    }
    return i;
}

std::string_view escape(unsigned char byte, std::array<char, 4>& buffer) {
    switch (byte) {
    case '\\':
        return "\\\\";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        buffer = {'\\', 'x', hexDigits[byte >> 4], hexDigits[byte & 0x0F]};
        return {buffer.data(), buffer.size()};
    }
}

void writeEscaped(BlockWriter& writer, std::string_view text) {
    std::array<char, 4> buffer{};
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t escaped = nextEscaped(text, start);
        writer.append(text.substr(start, escaped - start));
        if (escaped == text.size()) {
            break;
        }
        writer.append(escape(static_cast<unsigned char>(text[escaped]), buffer));
        start = escaped + 1;
    }
}

void writeHex(BlockWriter& writer, std::string_view bytes) {
    writer.append("<");
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const std::array<char, 2> digits{hexDigits[byte >> 4], hexDigits[byte & 0x0F]};
        writer.append({digits.data(), digits.size()});
    }
    writer.append(">");
}

template <typename Number>
void writeDecimal(BlockWriter& writer, Number number) {
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number);
    writer.append({buffer.data(), static_cast<std::size_t>(end - buffer.data())});
}

}  // namespace

void ValueText::writeValue(std::ostream& stream, const foundation::DefaultsValue& value) {
    BlockWriter writer(stream);
    std::visit(base::Overloaded{
                   [&writer](const std::string& text) { writeEscaped(writer, text); },
                   [&writer](const foundation::Data& data) {
                       if (isValidUTF8(data.view())) {
                           writeEscaped(writer, data.view());
                       } else {
                           writeHex(writer, data.view());
                       }
                   },
                   [&writer](bool flag) { writer.append(flag ? "1" : "0"); },
                   [&writer](std::int64_t number) { writeDecimal(writer, number); },
                   [&writer](double number) { writeDecimal(writer, number); },
               },
               value);
}

void ValueText::writeText(std::ostream& stream, std::string_view text) {
    BlockWriter writer(stream);
    writeEscaped(writer, text);
}

}  // namespace defaults_tool
