#include "platform/runtime/foundation/core/URLComponents.hpp"

#include "platform/runtime/foundation/core/internal/PercentEncoding.hpp"

#include <glib.h>

#include <charconv>
#include <memory>
#include <stdexcept>

namespace foundation {
namespace {

using Component = PercentEncoding::Component;

// GLib's components come out normalised (escapes of unreserved characters
// decoded, hexadecimal digits upper-cased, the scheme lower-cased), which would
// change texts that must be carried over byte for byte. GLib therefore only
// judges the reference and tells which parts it has; the parts themselves are
// cut from the text at the delimiters that GLib found them by.
struct Presence {
    bool scheme = false;
    bool authority = false;
    bool query = false;
    bool fragment = false;
};

std::optional<Presence> presence(const std::string& text) {
    char* scheme = nullptr;
    char* host = nullptr;
    char* query = nullptr;
    char* fragment = nullptr;
    constexpr auto flags = static_cast<GUriFlags>(G_URI_FLAGS_ENCODED | G_URI_FLAGS_NON_DNS);
    const bool valid = g_uri_split(text.c_str(), flags, &scheme, nullptr, &host, nullptr, nullptr, &query,
                                   &fragment, nullptr);
    const Presence found{scheme != nullptr, host != nullptr, query != nullptr, fragment != nullptr};
    for (char* part : {scheme, host, query, fragment}) {
        g_free(part);
    }
    if (!valid) {
        return std::nullopt;
    }
    return found;
}

bool isIPLiteral(std::string_view host) {
    return host.starts_with('[') && host.ends_with(']');
}

std::optional<std::string> decoded(const std::optional<std::string>& encoded) {
    if (!encoded) {
        return std::nullopt;
    }
    return PercentEncoding::decode(*encoded);
}

std::optional<std::string> encoded(const std::optional<std::string>& text, Component component) {
    if (!text) {
        return std::nullopt;
    }
    return PercentEncoding::encode(*text, component);
}

bool isEncoded(const std::optional<std::string>& text, Component component) {
    return !text || PercentEncoding::isEncoded(*text, component);
}

}  // namespace

std::optional<URLComponents> URLComponents::fromString(std::string_view text) {
    const std::string owned(text);
    if (owned.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    const auto found = presence(owned);
    if (!found) {
        return std::nullopt;
    }

    URLComponents parts;
    std::string_view rest = text;
    if (found->scheme) {
        const auto colon = rest.find(':');
        parts.scheme_ = std::string(rest.substr(0, colon));
        rest.remove_prefix(colon + 1);
    }
    if (found->fragment) {
        const auto hash = rest.find('#');
        parts.fragment_ = std::string(rest.substr(hash + 1));
        rest = rest.substr(0, hash);
    }
    if (found->query) {
        const auto question = rest.find('?');
        parts.query_ = std::string(rest.substr(question + 1));
        rest = rest.substr(0, question);
    }
    if (found->authority) {
        rest.remove_prefix(2);
        const auto authorityEnd = std::min(rest.find('/'), rest.size());
        std::string_view authority = rest.substr(0, authorityEnd);
        rest.remove_prefix(authorityEnd);

        if (const auto at = authority.find('@'); at != std::string_view::npos) {
            const std::string_view userInfo = authority.substr(0, at);
            const auto colon = userInfo.find(':');
            parts.user_ = std::string(userInfo.substr(0, colon));
            if (colon != std::string_view::npos) {
                parts.password_ = std::string(userInfo.substr(colon + 1));
            }
            authority.remove_prefix(at + 1);
        }
        // GLib has checked that a bracketed literal is followed by nothing or a port.
        const auto hostEnd = authority.starts_with('[') ? authority.find(']') + 1 : authority.find(':');
        parts.host_ = std::string(authority.substr(0, hostEnd));
        if (hostEnd < authority.size()) {
            parts.port_ = std::string(authority.substr(hostEnd + 1));
        }
    }
    parts.path_ = std::string(rest);

    // GLib escapes what a URL must not hold instead of refusing it; a blank, a
    // raw non-ASCII letter, a second "#" or a bracket in a path make no URL here.
    const bool hostValid =
        !parts.host_ || isIPLiteral(*parts.host_) || isEncoded(parts.host_, Component::host);
    // Without scheme and host, a ":" in the first segment would read as a scheme.
    const bool pathValid = PercentEncoding::isEncoded(parts.path_, Component::path) &&
                           (found->scheme || found->authority ||
                            parts.path_.substr(0, parts.path_.find('/')).find(':') == std::string::npos);
    if (!hostValid || !pathValid || !isEncoded(parts.user_, Component::user) ||
        !isEncoded(parts.password_, Component::password) || !isEncoded(parts.query_, Component::query) ||
        !isEncoded(parts.fragment_, Component::fragment)) {
        return std::nullopt;
    }
    return parts;
}

URLComponents::URLComponents(const URL& url) : URLComponents(fromString(url.absoluteString()).value()) {}

std::optional<std::string> URLComponents::user() const {
    return decoded(user_);
}

std::optional<std::string> URLComponents::password() const {
    return decoded(password_);
}

std::optional<std::string> URLComponents::host() const {
    if (host_ && isIPLiteral(*host_)) {
        return PercentEncoding::decode(std::string_view(*host_).substr(1, host_->size() - 2));
    }
    return decoded(host_);
}

std::optional<int> URLComponents::port() const {
    if (!port_ || port_->empty()) {
        return std::nullopt;
    }
    int port = 0;
    const auto [end, error] = std::from_chars(port_->data(), port_->data() + port_->size(), port);
    if (error != std::errc() || end != port_->data() + port_->size()) {
        return std::nullopt;
    }
    return port;
}

std::string URLComponents::path() const {
    return PercentEncoding::decode(path_);
}

std::optional<std::string> URLComponents::query() const {
    return decoded(query_);
}

std::optional<std::string> URLComponents::fragment() const {
    return decoded(fragment_);
}

std::optional<std::vector<URLQueryItem>> URLComponents::queryItems() const {
    if (!query_) {
        return std::nullopt;
    }
    std::vector<URLQueryItem> items;
    if (query_->empty()) {
        return items;
    }
    std::string_view rest = *query_;
    while (true) {
        const auto ampersand = rest.find('&');
        const std::string_view item = rest.substr(0, ampersand);
        const auto equals = item.find('=');
        items.push_back({PercentEncoding::decode(item.substr(0, equals)),
                         equals == std::string_view::npos
                             ? std::nullopt
                             : std::optional(PercentEncoding::decode(item.substr(equals + 1)))});
        if (ampersand == std::string_view::npos) {
            return items;
        }
        rest.remove_prefix(ampersand + 1);
    }
}

std::optional<URLQueryItem> URLComponents::queryItem(std::string_view name) const {
    for (auto& item : queryItems().value_or(std::vector<URLQueryItem>{})) {
        if (item.name == name) {
            return std::move(item);
        }
    }
    return std::nullopt;
}

void URLComponents::setUser(const std::optional<std::string>& user) {
    user_ = encoded(user, Component::user);
}

void URLComponents::setPassword(const std::optional<std::string>& password) {
    password_ = encoded(password, Component::password);
}

void URLComponents::setHost(const std::optional<std::string>& host) {
    if (host && host->find(':') != std::string::npos) {
        std::string literal = "[";
        literal += PercentEncoding::encode(*host, Component::ipLiteral);
        literal += ']';
        host_ = std::move(literal);
    } else {
        host_ = encoded(host, Component::host);
    }
}

void URLComponents::setPort(std::optional<int> port) {
    port_ = port ? std::optional(std::to_string(*port)) : std::nullopt;
}

void URLComponents::setPath(std::string_view path) {
    path_ = PercentEncoding::encode(path, Component::path);
}

void URLComponents::setPercentEncodedPath(std::string path) {
    if (!PercentEncoding::isEncoded(path, Component::path)) {
        throw std::invalid_argument("not a percent-encoded URL path: " + path);
    }
    path_ = std::move(path);
}

void URLComponents::setQuery(const std::optional<std::string>& query) {
    query_ = encoded(query, Component::query);
}

void URLComponents::setQueryItems(const std::optional<std::vector<URLQueryItem>>& items) {
    if (!items) {
        query_.reset();
        return;
    }
    std::string query;
    for (const auto& item : *items) {
        if (&item != &items->front()) {
            query += '&';
        }
        query += PercentEncoding::encode(item.name, Component::queryItem);
        if (item.value) {
            query += '=';
            query += PercentEncoding::encode(*item.value, Component::queryItem);
        }
    }
    query_ = std::move(query);
}

void URLComponents::setFragment(const std::optional<std::string>& fragment) {
    fragment_ = encoded(fragment, Component::fragment);
}

std::optional<std::string> URLComponents::string() const {
    std::string text;
    if (scheme_) {
        text += *scheme_;
        text += ':';
    }
    if (host_ || user_ || password_ || port_) {
        text += "//";
        if (user_ || password_) {
            text += user_.value_or("");
            if (password_) {
                text += ':';
                text += *password_;
            }
            text += '@';
        }
        text += host_.value_or("");
        if (port_) {
            text += ':';
            text += *port_;
        }
    }
    text += path_;
    if (query_) {
        text += '?';
        text += *query_;
    }
    if (fragment_) {
        text += '#';
        text += *fragment_;
    }
    // Reading the text back is what shows that the parts fit together: a path
    // without "/" after a host would join the host, a user without a host would
    // become one, an unusable scheme would turn into a path.
    // A password without a user is written after an empty one and reads back so.
    URLComponents expected = *this;
    if (expected.password_ && !expected.user_) {
        expected.user_ = "";
    }
    const auto readBack = fromString(text);
    if (!readBack || *readBack != expected) {
        return std::nullopt;
    }
    return text;
}

std::optional<URL> URLComponents::url() const {
    const auto text = string();
    return text ? URL::fromString(*text) : std::nullopt;
}

}  // namespace foundation
