#include "platform/runtime/foundation/core/internal/PercentEncoding.hpp"

#include <glib.h>

#include <memory>

namespace foundation {
namespace {

// No component escapes the unreserved characters (letters, digits, "-._~");
// these are the further characters that each one keeps as they are.
std::string_view reservedAllowed(PercentEncoding::Component component) {
    using Component = PercentEncoding::Component;
    switch (component) {
    case Component::user:
    case Component::host:
        return "!$&'()*+,;=";
    case Component::password:
    case Component::ipLiteral:
        return "!$&'()*+,;=:";
    case Component::path:
        return "!$&'()*+,;=:@/";
    case Component::query:
    case Component::fragment:
        return "!$&'()*+,;=:@/?";
    case Component::queryItem:
        return "!$'()*,;:@/?";
    }
    return {};
}

bool isUnreserved(char c) {
    return g_ascii_isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string PercentEncoding::encode(std::string_view text, Component component) {
    // Not g_uri_escape_bytes(): it looks bytes up in the allowed set with strchr(), which finds
    // the set's terminating NUL, so it writes a NUL as it is and the text ends there.
    static constexpr char hexadecimal[] = "0123456789ABCDEF";
    const std::string_view allowed = reservedAllowed(component);
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (isUnreserved(c) || allowed.find(c) != std::string_view::npos) {
            escaped += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            escaped += '%';
            escaped += hexadecimal[byte >> 4U];
            escaped += hexadecimal[byte & 0xFU];
        }
    }
    return escaped;
}

bool PercentEncoding::isEncoded(std::string_view text, Component component) {
    const std::string_view allowed = reservedAllowed(component);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%') {
            if (i + 2 >= text.size() || !g_ascii_isxdigit(text[i + 1]) || !g_ascii_isxdigit(text[i + 2])) {
                return false;
            }
            i += 2;
        } else if (!isUnreserved(c) && allowed.find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::string PercentEncoding::decode(std::string_view encoded) {
    if (encoded.empty()) {
        return {};
    }
    GBytes* bytes =
        g_uri_unescape_bytes(encoded.data(), static_cast<gssize>(encoded.size()), nullptr, nullptr);
    if (bytes == nullptr) {
        return std::string(encoded);
    }
    const std::unique_ptr<GBytes, decltype(&g_bytes_unref)> owner(bytes, g_bytes_unref);
    gsize size = 0;
    const auto* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
    return std::string(data, size);
}

}  // namespace foundation
