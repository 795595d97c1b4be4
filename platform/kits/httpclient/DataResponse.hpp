#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/kits/httpclient/ClientError.hpp"

#include <optional>

namespace httpclient {

// What a request came to: the raw reply bytes with the HTTP status when a
// reply came, or the error that failed the request. Any reply is a success
// here, whatever its status: judging the status is the caller's business.
struct DataResponse {
    std::optional<int> statusCode;
    foundation::Data data;
    std::optional<ClientError> error;

    [[nodiscard]] bool isSuccess() const noexcept { return !error.has_value(); }
};

}  // namespace httpclient
