#pragma once

#include "kestrova/actions/IntentError.hpp"
#include "platform/runtime/concurrency/Task.hpp"

#include <exception>
#include <string>
#include <utility>

namespace kestrova {

// The two rules of every action that calls the server. First the session token: the one stored in
// the shared defaults, or IntentError::notAuthenticated before anything is read or sent.
std::string sessionToken();

// Then the call's failure, told the user one way: the server's 401 as notAuthenticated (its message
// dropped), anything else as unknown with the error's own text.
IntentError intentErrorFor(const std::exception& error);

// The call with its failure, whatever it is, turned into an IntentError.
template <typename T>
concurrency::Task<T> serviceCall(concurrency::Task<T> call) {
    try {
        co_return co_await std::move(call);
    } catch (const std::exception& error) {
        throw intentErrorFor(error);
    }
}

}  // namespace kestrova
