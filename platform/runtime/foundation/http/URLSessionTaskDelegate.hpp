#pragma once

#include <cstdint>

namespace foundation {

class URLSession;
class URLSessionTask;

// Per-task callbacks. They run on the session's thread, never on the main
// thread, between the task's start and its completion; they must return
// quickly and must not throw, since every transfer of the session waits
// while they run. The default implementations do nothing.
class URLSessionTaskDelegate {
public:
    virtual ~URLSessionTaskDelegate() = default;

    // More of the request body went out: bytesSent since the last call, and
    // the running total against the body's full length.
    virtual void didSendBodyData(URLSession& /*session*/, URLSessionTask& /*task*/, std::int64_t /*bytesSent*/,
                                 std::int64_t /*totalBytesSent*/, std::int64_t /*totalBytesExpectedToSend*/) {}
};

}  // namespace foundation
