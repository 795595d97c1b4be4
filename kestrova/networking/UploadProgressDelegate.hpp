#pragma once

#include "platform/runtime/foundation/http/URLSessionTaskDelegate.hpp"
#include "kestrova/networking/Networking.hpp"

#include <cstdint>
#include <functional>

namespace kestrova {

// Passes the share of the body sent so far to a callback, on the session's
// thread. The quotient goes on as it is: a total the session does not know
// (negative) or an empty body (zero) gives what the division gives. An
// empty callback is simply not called.
class Networking::UploadProgressDelegate final : public foundation::URLSessionTaskDelegate {
public:
    using ProgressHandler = std::function<void(double)>;

    explicit UploadProgressDelegate(ProgressHandler progressHandler);

    void didSendBodyData(foundation::URLSession& session, foundation::URLSessionTask& task, std::int64_t bytesSent,
                         std::int64_t totalBytesSent, std::int64_t totalBytesExpectedToSend) override;

private:
    const ProgressHandler progressHandler_;
};

}  // namespace kestrova
