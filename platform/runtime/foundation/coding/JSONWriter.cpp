#include "platform/runtime/foundation/coding/JSONWriter.hpp"

#include <simdjson.h>

#include <array>
#include <charconv>
#include <cmath>
#include <type_traits>

namespace foundation {
namespace {

// For each byte: 0 when it stands for itself, else the letter after the
// backslash ('u' for the \u00XX form). The other platform escapes the slash
// too; readers accept both forms, and writing the same bytes keeps caches alike.
constexpr std::array<char, 256> escapes = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 0x20; ++c) {
        table[static_cast<std::size_t>(c)] = 'u';
    }
    table['\b'] = 'b';
    table['\t'] = 't';
    table['\n'] = 'n';
    table['\f'] = 'f';
    table['\r'] = 'r';
    table['"'] = '"';
    table['\\'] = '\\';
    table['/'] = '/';
    return table;
}();

}  // namespace

// A value needs a comma unless it opens the document, a list, or follows its key.
void JSONWriter::separateValue() {
    if (!out_.empty()) {
        const char last = static_cast<char>(out_.back());
        if (last != '[' && last != ':') {
            out_.push_back(',');
        }
    }
}

void JSONWriter::beginObject() {
    separateValue();
    out_.push_back('{');
}

void JSONWriter::beginList() {
    separateValue();
    out_.push_back('[');
}

bool JSONWriter::key(std::string_view key) {
    if (!simdjson::validate_utf8(key.data(), key.size())) {
        return false;
    }
    if (out_.back() != '{') {
        out_.push_back(',');
    }
    out_.push_back('"');
    escaped(key);
    out_.push_back('"');
    out_.push_back(':');
    return true;
}

void JSONWriter::plainKey(std::string_view key) {
    if (out_.back() != '{') {
        out_.push_back(',');
    }
    out_.push_back('"');
    append(key);
    out_.push_back('"');
    out_.push_back(':');
}

void JSONWriter::null() {
    separateValue();
    append("null");
}

void JSONWriter::boolean(bool value) {
    separateValue();
    append(value ? "true" : "false");
}

// Negative zero keeps a fraction: "-0" would read back as the integer 0 and lose its sign.
template <typename Number>
void JSONWriter::shortest(Number value) {
    separateValue();
    if constexpr (std::is_floating_point_v<Number>) {
        if (value == 0 && std::signbit(value)) {
            append("-0.0");
            return;
        }
        // Whole numbers the type holds exactly are written in full, as the
        // other platform does (730000000, not the shorter 7.3e+08): a date
        // of the cached user reads the same in every deliverable's eyes.
        constexpr Number exactLimit = std::is_same_v<Number, float> ? 16777216.0f : 9007199254740992.0;
        if (std::fabs(value) <= exactLimit && std::trunc(value) == value) {
            char whole[32];
            const auto written = std::to_chars(whole, whole + sizeof whole, static_cast<std::int64_t>(value));
            append(std::string_view(whole, static_cast<std::size_t>(written.ptr - whole)));
            return;
        }
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    append(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

void JSONWriter::integer(std::int64_t value) {
    shortest(value);
}

void JSONWriter::number(double value) {
    shortest(value);
}

void JSONWriter::number(float value) {
    shortest(value);
}

bool JSONWriter::string(std::string_view utf8) {
    if (!simdjson::validate_utf8(utf8.data(), utf8.size())) {
        return false;
    }
    separateValue();
    out_.push_back('"');
    escaped(utf8);
    out_.push_back('"');
    return true;
}

// Runs of bytes that stand for themselves are copied whole.
void JSONWriter::escaped(std::string_view utf8) {
    static constexpr char hex[] = "0123456789abcdef";
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const char escape = escapes[byte];
        if (escape == 0) {
            continue;
        }
        append(utf8.substr(runStart, i - runStart));
        out_.push_back('\\');
        out_.push_back(static_cast<std::uint8_t>(escape));
        if (escape == 'u') {
            append("00");
            out_.push_back(static_cast<std::uint8_t>(hex[byte >> 4]));
            out_.push_back(static_cast<std::uint8_t>(hex[byte & 0x0F]));
        }
        runStart = i + 1;
    }
    append(utf8.substr(runStart));
}

}  // namespace foundation
