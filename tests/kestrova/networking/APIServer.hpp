#pragma once

#include "kestrova/networking/APIBaseURLOverride.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "tests/support/LoopbackServer.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <string_view>

namespace kestrova::apitest {

// Every test of the program talks to one server, made at the first call and
// kept, with the override that points the API client at it, until the
// program ends.
inline testsupport::LoopbackServer& api() {
    static testsupport::LoopbackServer* const server = [] {
        auto* made = new testsupport::LoopbackServer;
        new APIBaseURLOverride(*foundation::URL::fromString(made->url("")));
        return made;
    }();
    return *server;
}

// Counts the bodies the server receives rather than keeping them, for as long
// as it lives: for uploads too large to hold. The server serves the whole
// program, and later tests read the bodies again.
class CountingBodies {
public:
    CountingBodies() { api().countBodiesOnly(); }
    ~CountingBodies() { api().keepBodies(); }
    CountingBodies(const CountingBodies&) = delete;
    CountingBodies& operator=(const CountingBodies&) = delete;
};

// Requests the server has received for the path so far.
inline std::size_t requestsTo(std::string_view path) {
    std::size_t count = 0;
    for (const auto& request : api().requests()) {
        count += request.path == path ? 1 : 0;
    }
    return count;
}

inline testsupport::RecordedRequest lastRequest() {
    const auto requests = api().requests();
    EXPECT_FALSE(requests.empty());
    return requests.empty() ? testsupport::RecordedRequest{} : requests.back();
}

}  // namespace kestrova::apitest
