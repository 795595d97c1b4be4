#pragma once

#include "kestrova/networking/KestrovaAPIError.hpp"
#include "tests/support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <utility>

namespace testsupport {

// Runs an API call's coroutine on the main actor to its end.
template <typename Operation>
auto runAPICall(Operation operation) {
    return MainLoop::runOnMainActor(std::move(operation));
}

// Runs the call and gives the error it threw.
template <typename Operation>
kestrova::KestrovaAPIError apiErrorOf(Operation operation) {
    try {
        runAPICall(std::move(operation));
    } catch (const kestrova::KestrovaAPIError& error) {
        return error;
    }
    ADD_FAILURE() << "the call did not fail with a KestrovaAPIError";
    return kestrova::KestrovaAPIError::noResponse();
}

}  // namespace testsupport
