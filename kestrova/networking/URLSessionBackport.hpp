#pragma once

#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "platform/runtime/foundation/http/URLSessionReply.hpp"

namespace kestrova {

// The awaitable data call for systems whose session has none: a callback
// data task behind a checked continuation named "data(for:)". Returns the
// body and the response (any response, not only HTTP); throws the transfer's
// error, or URLError badServerResponse when the task reports neither an error
// nor a whole reply. Cancelling the awaiting task cancels the data task once
// it exists; a cancellation that comes before it does is lost, and the
// request runs to its end.
concurrency::Task<foundation::URLSessionReply> data(foundation::URLSession& session,
                                                     foundation::URLRequest request);

// What the data task's completion makes of its three values: a body with a
// response is the reply, even beside an error; otherwise the error is thrown,
// or badServerResponse when there is none.
foundation::URLSessionReply replyOfCompletion(std::optional<foundation::Data> body,
                                              std::shared_ptr<const foundation::URLResponse> response,
                                              std::optional<foundation::URLError> error);

}  // namespace kestrova
