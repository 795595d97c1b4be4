#include "foundation/Data.hpp"

#include "foundation/Hasher.hpp"

#include <glib.h>

#include <memory>

namespace foundation {
namespace {

bool isBase64Character(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/';
}

// GLib's decoder skips characters it does not know; the platform's decoder
// refuses them, so the text is checked before it is handed over.
bool isStrictBase64(std::string_view text) {
    if (text.size() % 4 != 0) {
        return false;
    }
    std::size_t padding = 0;
    while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=') {
        ++padding;
    }
    for (std::size_t i = 0; i < text.size() - padding; ++i) {
        if (!isBase64Character(text[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

Data::Data(const void* bytes, std::size_t count)
    : bytes_(static_cast<const std::uint8_t*>(bytes), static_cast<const std::uint8_t*>(bytes) + count) {}

std::optional<Data> Data::fromBase64(std::string_view text) {
    if (!isStrictBase64(text)) {
        return std::nullopt;
    }
    if (text.empty()) {
        return Data{};
    }
    // g_base64_decode wants a terminated string.
    const std::string terminated(text);
    gsize length = 0;
    std::unique_ptr<guchar, decltype(&g_free)> decoded(g_base64_decode(terminated.c_str(), &length), g_free);
    return Data(decoded.get(), length);
}

std::string Data::base64EncodedString() const {
    if (bytes_.empty()) {
        return {};
    }
    std::unique_ptr<gchar, decltype(&g_free)> encoded(g_base64_encode(bytes_.data(), bytes_.size()), g_free);
    return std::string(encoded.get());
}

void Data::hash(Hasher& hasher) const {
    hasher.combineBytes(bytes_.data(), bytes_.size());
}

}  // namespace foundation
