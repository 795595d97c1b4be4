#pragma once

#include <memory>
#include <mutex>

namespace foundation {

class URLSessionTask;

// The one task of an awaited transfer, shared by the call that starts it and
// the cancellation handler of the awaiting task. The two come from different
// threads and in either order; whichever order it is, a cancellation stops
// the transfer, and one that comes before the start means nothing is sent.
// Internal to the session.
class URLSessionTaskHolder {
public:
    // Resumes the task, or cancels it when the cancellation came first.
    void start(const std::shared_ptr<URLSessionTask>& task);
    // Cancels the task kept, if any, and marks any later one for cancelling.
    void cancel();

private:
    std::mutex mutex_;
    std::shared_ptr<URLSessionTask> task_;
    bool cancelled_ = false;
};

}  // namespace foundation
