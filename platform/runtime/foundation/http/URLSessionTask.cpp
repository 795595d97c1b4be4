#include "platform/runtime/foundation/http/URLSessionTask.hpp"

#include "platform/runtime/foundation/http/internal/URLSessionLoop.hpp"
#include "platform/runtime/foundation/http/URLSessionTaskDelegate.hpp"

namespace foundation {

URLSessionTask::URLSessionTask(std::weak_ptr<URLSessionLoop> loop, URLRequest request,
                               UploadBody uploadBody, std::shared_ptr<URLSessionTaskDelegate> delegate,
                               CompletionHandler completionHandler)
    : loop_(std::move(loop)),
      request_(std::move(request)),
      uploadBody_(std::move(uploadBody)),
      delegate_(std::move(delegate)),
      completionHandler_(std::move(completionHandler)) {}

void URLSessionTask::resume() {
    {
        const std::lock_guard lock(mutex_);
        if (phase_ != Phase::suspended) {
            return;
        }
        phase_ = Phase::running;
    }
    // With its session gone there is no thread left to run the transfer on.
    const auto loop = loop_.lock();
    if (!loop || !loop->start(shared_from_this())) {
        complete(std::nullopt, nullptr, URLError(URLError::Code::cancelled));
    }
}

void URLSessionTask::cancel() {
    {
        const std::lock_guard lock(mutex_);
        if (phase_ == Phase::canceling || phase_ == Phase::completed) {
            return;
        }
        phase_ = Phase::canceling;
    }
    const auto loop = loop_.lock();
    if (!loop || !loop->cancel(shared_from_this())) {
        complete(std::nullopt, nullptr, URLError(URLError::Code::cancelled));
    }
}

std::shared_ptr<URLSessionTaskDelegate> URLSessionTask::delegate() const {
    const std::lock_guard lock(mutex_);
    return delegate_;
}

bool URLSessionTask::isCanceling() const {
    const std::lock_guard lock(mutex_);
    return phase_ == Phase::canceling;
}

void URLSessionTask::complete(std::optional<Data> data, std::shared_ptr<const URLResponse> response,
                              std::optional<URLError> error) {
    CompletionHandler handler;
    std::shared_ptr<URLSessionTaskDelegate> delegate;
    {
        const std::lock_guard lock(mutex_);
        if (phase_ == Phase::completed) {
            return;
        }
        // A cancel() that won the race against the end of the transfer decides the outcome.
        if (phase_ == Phase::canceling) {
            data.reset();
            response.reset();
            error = URLError(URLError::Code::cancelled);
        }
        phase_ = Phase::completed;
        handler = std::move(completionHandler_);
        delegate = std::move(delegate_);
    }
    if (handler) {
        handler(std::move(data), std::move(response), std::move(error));
    }
}

}  // namespace foundation
