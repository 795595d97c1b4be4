#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The service's three hosts, from the deployment's domain: the production web
// front end is the domain itself, the beta front end and the API server are
// its "beta." and "api." subdomains.
std::string_view webHost();
std::string_view betaWebHost();
std::string_view apiHost();
// The three, for the development setting, whose certificate is trusted for
// them alone.
std::vector<std::string> serviceHosts();

// The API server's base URL: https://<apiHost>, with the deployment's port
// when it has one, no path. Every call appends
// its own path. KESTROVA_API_BASE_URL, read once at the first call, replaces
// it (staging, scripts); a value that is no absolute http(s) URL stops the
// process with a message saying so. An APIBaseURLOverride in force replaces
// both (tests).
foundation::URL apiBaseURL();

// The web front ends' base URLs, with the deployment's port when it has one,
// path "/".
const foundation::URL& webBaseURL();
const foundation::URL& betaWebBaseURL();

// Whether the URL is on the service's own origin: the scheme https, one of
// the three hosts (compared as written), no user information and the
// deployment's port. The one rule of what belongs to the service: only such
// pages are shown in a window, where they reach the application's script
// messages and the session.
bool isServiceOrigin(const foundation::URL& url);

// The service's page that the URL stands for: itself when it is on the
// service's origin; for an http URL of one of the three hosts on the default
// port or the deployment's, the same page over https; none for anything else
// (another scheme, another port, another host, user information).
std::optional<foundation::URL> servicePage(const foundation::URL& url);

// The URL moved to the beta or the production front end: when its host is
// exactly one of the two, only the host is replaced; any other URL, one
// without a host included, comes back unchanged.
foundation::URL webHostURL(const foundation::URL& url, bool useBeta);

}  // namespace kestrova
