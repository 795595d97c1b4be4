#pragma once

#include "tests/support/InterceptingProxy.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/ScopedEnvironment.hpp"
#include "tests/support/ScratchDirectory.hpp"

namespace testsupport {

// Where a test runs the application's own program, kept from the person's
// files and from the network: its state, configuration, data, cache and
// shared defaults in a scratch folder, and the service's hosts answered by a
// loopback server behind a proxy that the web engine is pointed at and whose
// certificate the program trusts.
struct ApplicationSandbox {
    ApplicationSandbox();

    ScratchDirectory scratch;
    LoopbackServer server;
    InterceptingProxy proxy{server.port(), {"kestrova.example", "beta.kestrova.example", "api.kestrova.example"}};
    ScopedEnvironment environment;
};

}  // namespace testsupport
