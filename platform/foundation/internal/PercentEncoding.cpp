#include "platform/foundation/internal/PercentEncoding.hpp"

#include <glib.h>

#include <cstdint>
#include <memory>

namespace foundation {
namespace {

// GLib never escapes the unreserved characters (letters, digits, "-._~"); these
// are the further characters that each component keeps as they are.
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
    if (text.empty()) {
        return {};
    }
    const std::string allowed(reservedAllowed(component));
    const std::unique_ptr<char, decltype(&g_free)> escaped(
        g_uri_escape_bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), allowed.c_str()),
        g_free);
    return std::string(escaped.get());
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
