#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/http/URLResponse.hpp"

#include <memory>

namespace foundation {

// What an awaited transfer brings back, whatever the HTTP status: the body,
// empty when the reply had none, and the response, an HTTPURLResponse for
// http and https and a plain URLResponse for file: URLs.
struct URLSessionReply {
    Data data;
    std::shared_ptr<const URLResponse> response;
};

}  // namespace foundation
