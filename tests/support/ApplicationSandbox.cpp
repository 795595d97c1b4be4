#include "tests/support/ApplicationSandbox.hpp"

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

ApplicationSandbox::ApplicationSandbox() {
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
             {"XDG_STATE_HOME", (scratch / "state").string()},
             {"XDG_CONFIG_HOME", (scratch / "config").string()},
             {"XDG_DATA_HOME", (scratch / "data").string()},
             {"XDG_CACHE_HOME", (scratch / "cache").string()},
             {"KESTROVA_APP_GROUP_DIR", (scratch / "group").string()},
             {"KESTROVA_API_BASE_URL", server.url("")},
             // The web engine reaches the pages through the proxy resolver that reads the proxy
             // from the environment.
             {"GIO_USE_PROXY_RESOLVER", "libproxy"},
             {"http_proxy", proxy.url()},
             {"https_proxy", proxy.url()},
             {"KESTROVA_DEV_CERTIFICATE", proxy.certificateFile().string()}}) {
        environment.set(name, value);
    }
}

}  // namespace testsupport
