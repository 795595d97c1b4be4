#include "platform/runtime/foundation/core/URL.hpp"

#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/core/internal/PercentEncoding.hpp"
#include "platform/runtime/foundation/core/URLComponents.hpp"

#include <glib.h>

#include <memory>

namespace foundation {

std::optional<URL> URL::fromString(std::string_view text) {
    if (text.empty() || !URLComponents::fromString(text)) {
        return std::nullopt;
    }
    return URL(std::string(text));
}

URL URL::fileURL(std::string_view path, bool isDirectory) {
    std::string absolute;
    if (!path.starts_with('/')) {
        const std::unique_ptr<char, decltype(&g_free)> current(g_get_current_dir(), g_free);
        absolute = current.get();
        if (!absolute.ends_with('/')) {
            absolute += '/';
        }
    }
    absolute += path;
    if (isDirectory && !absolute.ends_with('/')) {
        absolute += '/';
    }
    URLComponents components;
    components.setScheme("file");
    components.setHost("");
    components.setPath(absolute);
    // An absolute path after an empty host always makes a URL.
    return components.url().value();
}

std::string URL::scheme() const {
    std::string scheme = URLComponents(*this).scheme().value_or("");
    for (char& c : scheme) {
        c = g_ascii_tolower(c);
    }
    return scheme;
}

std::optional<std::string> URL::user() const {
    return URLComponents(*this).user();
}

std::optional<std::string> URL::password() const {
    return URLComponents(*this).password();
}

std::optional<std::string> URL::host() const {
    auto host = URLComponents(*this).host();
    if (host && host->empty()) {
        return std::nullopt;
    }
    return host;
}

std::optional<int> URL::port() const {
    return URLComponents(*this).port();
}

std::string URL::path() const {
    const URLComponents components(*this);
    std::string_view path = components.percentEncodedPath();
    if (path.size() > 1 && path.ends_with('/')) {
        path.remove_suffix(1);
    }
    return PercentEncoding::decode(path);
}

std::optional<std::string> URL::query() const {
    return URLComponents(*this).percentEncodedQuery();
}

std::optional<std::string> URL::fragment() const {
    return URLComponents(*this).percentEncodedFragment();
}

bool URL::isFileURL() const {
    return scheme() == "file";
}

URL URL::appendingPathComponent(std::string_view component) const {
    URLComponents components(*this);
    std::string path = components.percentEncodedPath();
    while (component.starts_with('/')) {
        component.remove_prefix(1);
    }
    if (!path.ends_with('/')) {
        path += '/';
    }
    path += PercentEncoding::encode(component, PercentEncoding::Component::path);
    components.setPercentEncodedPath(std::move(path));
    // Only the end of the path changes, and it cannot turn into a "//" at the
    // start, so the reference stays valid.
    return components.url().value();
}

void URL::hash(Hasher& hasher) const {
    hasher.combine(std::string_view(text_));
}

}  // namespace foundation
