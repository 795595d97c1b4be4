#pragma once

#include "tests/support/LoopbackServer.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kestrova::apitest {

// The API base URL is read once per process, so every test of the program
// talks to one server, made before the first call.
inline testsupport::LoopbackServer& api() {
    static testsupport::LoopbackServer* const server = [] {
        auto* made = new testsupport::LoopbackServer;
        setenv("KESTROVA_API_BASE_URL", made->url("").c_str(), 1);
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
