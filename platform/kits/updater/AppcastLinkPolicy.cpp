#include "platform/kits/updater/AppcastLinkPolicy.hpp"

#include <gio/gio.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace updater {

namespace {

bool isLoopbackHost(std::string host) {
    std::ranges::transform(host, host.begin(), [](unsigned char c) { return std::tolower(c); });
    if (host == "localhost" || host.ends_with(".localhost")) {
        return true;
    }
    GInetAddress* address = g_inet_address_new_from_string(host.c_str());
    if (address == nullptr) {
        return false;
    }
    const bool loopback = g_inet_address_get_is_loopback(address) != FALSE;
    g_object_unref(address);
    return loopback;
}

}  // namespace

AppcastLinkPolicy::AppcastLinkPolicy(const foundation::URL& feedURL) {
    const auto host = feedURL.host();
    allowsPlainHTTP_ = feedURL.scheme() == "http" && host && isLoopbackHost(*host);
}

bool AppcastLinkPolicy::allows(const foundation::URL& link) const {
    const std::string scheme = link.scheme();
    return link.host() && (scheme == "https" || (scheme == "http" && allowsPlainHTTP_));
}

}  // namespace updater
