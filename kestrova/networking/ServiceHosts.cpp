#include "kestrova/networking/ServiceHosts.hpp"

#include "kestrova/networking/APIBaseURLOverride.hpp"
#include "platform/runtime/base/Verify.hpp"
#include "platform/runtime/foundation/core/URLComponents.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace kestrova {
namespace {

constexpr std::string_view domain = KESTROVA_SERVICE_DOMAIN;
// Empty for the default port of HTTPS; a local deployment serves all three
// hosts on a port of its own.
constexpr std::string_view port = KESTROVA_SERVICE_PORT;

// "https://<host>", with ":<port>" when the deployment has one.
std::string origin(std::string_view host) {
    return "https://" + std::string(host) + (port.empty() ? "" : ":" + std::string(port));
}

const std::string& subdomain(std::string_view label) {
    // Made on first use, so no other start-up code can see them unmade.
    static const std::string beta = "beta." + std::string(domain);
    static const std::string api = "api." + std::string(domain);
    return label == "beta" ? beta : api;
}

foundation::URL compiledURL(const std::string& text) {
    auto url = foundation::URL::fromString(text);
    VERIFY(url.has_value(), "the deployment's addresses form URLs; one that does not is a fault of the build");
    return *url;
}

[[noreturn]] void stopForBadOverride(const char* value) {
    std::fprintf(stderr, "kestrova: KESTROVA_API_BASE_URL is set to \"%s\", which is no absolute http or https URL\n",
                 value);
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

foundation::URL makeAPIBaseURL() {
    const char* override = std::getenv("KESTROVA_API_BASE_URL");
    if (override == nullptr) {
        return compiledURL(origin(subdomain("api")));
    }
    auto url = foundation::URL::fromString(override);
    if (!url || (url->scheme() != "http" && url->scheme() != "https") || !url->host() || url->host()->empty()) {
        stopForBadOverride(override);
    }
    return *url;
}

}  // namespace

std::string_view webHost() {
    return domain;
}

std::string_view betaWebHost() {
    return subdomain("beta");
}

std::string_view apiHost() {
    return subdomain("api");
}

std::vector<std::string> serviceHosts() {
    return {std::string(webHost()), std::string(betaWebHost()), std::string(apiHost())};
}

foundation::URL apiBaseURL() {
    if (auto chosen = APIBaseURLOverride::current()) {
        return std::move(*chosen);
    }
    static const foundation::URL url = makeAPIBaseURL();
    return url;
}

const foundation::URL& webBaseURL() {
    static const foundation::URL url = compiledURL(origin(domain) + "/");
    return url;
}

const foundation::URL& betaWebBaseURL() {
    static const foundation::URL url = compiledURL(origin(betaWebHost()) + "/");
    return url;
}

namespace {

std::optional<int> deploymentPort() {
    if (port.empty()) {
        return std::nullopt;
    }
    return std::stoi(std::string(port));
}

// Compared as written: another letter case, a trailing dot or an escape is another host.
bool isWebFrontEndHost(const std::optional<std::string>& host) {
    return host && (*host == webHost() || *host == betaWebHost());
}

bool isServiceHost(const std::optional<std::string>& host) {
    return isWebFrontEndHost(host) || host == apiHost();
}

// One of the three hosts, with no user information: the service's pages never carry any, and
// "https://kestrova.example@elsewhere" shows how such a part makes a URL read like another.
bool namesServiceHost(const foundation::URLComponents& components) {
    return !components.percentEncodedUser() && !components.percentEncodedPassword() &&
           isServiceHost(components.percentEncodedHost());
}

}  // namespace

bool isServiceOrigin(const foundation::URL& url) {
    const foundation::URLComponents components(url);
    if (url.scheme() != "https" || !namesServiceHost(components)) {
        return false;
    }
    constexpr int httpsPort = 443;
    return components.port().value_or(httpsPort) == deploymentPort().value_or(httpsPort);
}

std::optional<foundation::URL> servicePage(const foundation::URL& url) {
    if (isServiceOrigin(url)) {
        return url;
    }
    foundation::URLComponents components(url);
    if (url.scheme() != "http" || !namesServiceHost(components)) {
        return std::nullopt;
    }
    constexpr int httpPort = 80;
    if (const auto written = components.port(); written && *written != httpPort && written != deploymentPort()) {
        return std::nullopt;
    }
    components.setScheme("https");
    components.setPort(deploymentPort());
    return components.url();
}

foundation::URL webHostURL(const foundation::URL& url, bool useBeta) {
    foundation::URLComponents components(url);
    if (!isWebFrontEndHost(components.percentEncodedHost())) {
        return url;
    }
    components.setHost(std::string(useBeta ? betaWebHost() : webHost()));
    return components.url().value_or(url);
}

}  // namespace kestrova
