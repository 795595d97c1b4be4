#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace standin {

// The names and port the stand-in serves: the web front end on the domain
// and on "beta." in front of it, the API on "api." in front of it, and a
// foreign site on "www." in front of it. The application's own hosts are
// exactly the first three, so the fourth is another site to it: links and
// frames that leave the service stay on this machine.
//
// The domain is a name under "localhost", which libcurl and GLib's resolver
// send to loopback without a hosts file. It is not "localhost" itself: that
// counts as a public suffix to the web engine's cookie jar, which then
// refuses the session cookie set for the whole domain and treats the three
// hosts as different sites.
struct ServiceAddresses {
    std::string domain = "kestrova.localhost";
    int port = 0;

    [[nodiscard]] std::string betaHost() const { return "beta." + domain; }
    [[nodiscard]] std::string apiHost() const { return "api." + domain; }
    [[nodiscard]] std::string foreignHost() const { return "www." + domain; }
    // Every name above, which the certificate covers.
    [[nodiscard]] std::vector<std::string> hostNames() const {
        return {domain, betaHost(), apiHost(), foreignHost()};
    }
    // "https://<host>:<port>", no path.
    [[nodiscard]] std::string origin(std::string_view host) const {
        return "https://" + std::string(host) + ":" + std::to_string(port);
    }
    [[nodiscard]] std::string apiBase() const { return origin(apiHost()); }
};

}  // namespace standin
