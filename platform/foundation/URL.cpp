#include "foundation/URL.hpp"

#include "foundation/Hasher.hpp"

#include <glib.h>

#include <memory>

namespace foundation {
namespace {

struct GUriDeleter {
    void operator()(GUri* uri) const { g_uri_unref(uri); }
};
using UniqueGUri = std::unique_ptr<GUri, GUriDeleter>;

constexpr auto parseFlags = static_cast<GUriFlags>(G_URI_FLAGS_ENCODED | G_URI_FLAGS_SCHEME_NORMALIZE);

UniqueGUri parse(const std::string& text) {
    return UniqueGUri(g_uri_parse(text.c_str(), parseFlags, nullptr));
}

}  // namespace

std::optional<URL> URL::fromString(std::string_view text) {
    std::string owned(text);
    if (owned.empty() || owned.find('\0') != std::string::npos || !parse(owned)) {
        return std::nullopt;
    }
    return URL(std::move(owned));
}

std::string URL::scheme() const {
    const auto uri = parse(text_);
    const char* scheme = uri ? g_uri_get_scheme(uri.get()) : nullptr;
    return scheme ? std::string(scheme) : std::string();
}

std::optional<std::string> URL::host() const {
    const auto uri = parse(text_);
    const char* host = uri ? g_uri_get_host(uri.get()) : nullptr;
    if (!host) {
        return std::nullopt;
    }
    return std::string(host);
}

bool URL::isFileURL() const {
    return scheme() == "file";
}

void URL::hash(Hasher& hasher) const {
    hasher.combine(std::string_view(text_));
}

}  // namespace foundation
