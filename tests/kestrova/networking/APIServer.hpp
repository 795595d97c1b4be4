#pragma once

#include "kestrova/networking/APIBaseURLOverride.hpp"
#include "platform/foundation/URL.hpp"
#include "tests/support/LoopbackServer.hpp"

#include <gtest/gtest.h>

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

inline testsupport::RecordedRequest lastRequest() {
    const auto requests = api().requests();
    EXPECT_FALSE(requests.empty());
    return requests.empty() ? testsupport::RecordedRequest{} : requests.back();
}

}  // namespace kestrova::apitest
