#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// An HTTP proxy on 127.0.0.1 in front of a test's loopback server, so that a web engine can load the
// service's https pages from it. A plain request goes through as it came. A CONNECT to any host is
// answered by the proxy itself: it holds TLS with a certificate of its own, made for the names it is
// given, and passes each request on to the server in absolute form ("GET https://host/path"), one
// request per connection to the server, so the server's routes name the whole URL as they do for
// plain requests. The certificate is written to a PEM file for the client to trust
// (KESTROVA_DEV_CERTIFICATE).
class InterceptingProxy {
public:
    InterceptingProxy(int serverPort, const std::vector<std::string>& hostNames);
    ~InterceptingProxy();
    InterceptingProxy(const InterceptingProxy&) = delete;
    InterceptingProxy& operator=(const InterceptingProxy&) = delete;

    [[nodiscard]] int port() const noexcept;
    // "http://127.0.0.1:<port>".
    [[nodiscard]] std::string url() const;
    [[nodiscard]] const std::filesystem::path& certificateFile() const noexcept;

    class State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace testsupport
