#pragma once

#include "tests/support/TLSIdentity.hpp"

#include <memory>
#include <string>

namespace testsupport {

// An HTTPS server on 127.0.0.1 that presents the identity's certificate and
// answers every GET and POST with an HTML page of that title, until it is destroyed.
// Any name under "localhost" reaches it: libcurl and GLib's resolver send
// them all to loopback.
class TLSServer {
public:
    TLSServer(const TLSIdentity& identity, std::string title);
    ~TLSServer();
    TLSServer(const TLSServer&) = delete;
    TLSServer& operator=(const TLSServer&) = delete;

    [[nodiscard]] int port() const noexcept;
    // How many requests it answered: none when every client refused its certificate.
    [[nodiscard]] int requests() const noexcept;
    // "https://<host>:<port>/".
    [[nodiscard]] std::string url(const std::string& host) const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace testsupport
