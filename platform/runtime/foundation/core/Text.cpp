#include "platform/runtime/foundation/core/Text.hpp"

#include "platform/runtime/foundation/core/Hasher.hpp"

#include <utf8proc.h>

#include <algorithm>
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

std::string Text::normalized() const {
    return canonical(utf8_);
}

bool Text::localizedCaseInsensitiveContains(const Text& other) const {
    const auto fold = [](std::string_view text) {
        return transformed(text, composed | UTF8PROC_CASEFOLD).value_or(std::string(text));
    };
    return fold(utf8_).find(fold(other.utf8_)) != std::string::npos;
}

bool operator==(const Text& a, const Text& b) {
    if (a.utf8_ == b.utf8_) {
        return true;
    }
    if (isASCII(a.utf8_) && isASCII(b.utf8_)) {
        return false;
    }
    return canonical(a.utf8_) == canonical(b.utf8_);
}

void Text::hash(Hasher& hasher) const {
    if (isASCII(utf8_)) {
        hasher.combine(std::string_view(utf8_));
    } else {
        hasher.combine(std::string_view(canonical(utf8_)));
    }
}

}  // namespace foundation

std::size_t std::hash<foundation::Text>::operator()(const foundation::Text& text) const {
    return foundation::hashValue(text);
}
