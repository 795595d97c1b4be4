#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/http/MultipartFormBody.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "platform/runtime/foundation/http/URLResponse.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <variant>

namespace foundation {

class URLSessionLoop;
class URLSessionTaskDelegate;

// One transfer of a session. It is made suspended; resume() starts it and
// cancel() stops it. Both may be called from any thread, in any order and
// any number of times; a cancel() that comes before resume(), or before the
// transfer has really started, still stops it.
//
// The completion handler is called exactly once, on the session's thread:
// with the body and the response when the transfer got a reply (whatever its
// HTTP status), or with an error and neither of them. A task cancelled before
// its completion completes with URLError::Code::cancelled. The handler must
// not throw; it is released once it has run.
class URLSessionTask : public std::enable_shared_from_this<URLSessionTask> {
public:
    using CompletionHandler = std::function<void(
        std::optional<Data> data, std::shared_ptr<const URLResponse> response, std::optional<URLError> error)>;

    virtual ~URLSessionTask() = default;
    URLSessionTask(const URLSessionTask&) = delete;
    URLSessionTask& operator=(const URLSessionTask&) = delete;

    void resume();
    void cancel();

protected:
    // A multipart form and the size below which it is handed to curl whole, in memory.
    struct FormUpload {
        MultipartFormBody form;
        std::uint64_t memoryThreshold;
    };
    // What goes out in place of the request's own body: a local file or a form.
    using UploadBody = std::variant<std::monostate, URL, FormUpload>;

    URLSessionTask(std::weak_ptr<URLSessionLoop> loop, URLRequest request, UploadBody uploadBody,
                   std::shared_ptr<URLSessionTaskDelegate> delegate, CompletionHandler completionHandler);

private:
    friend class URLSessionLoop;
    friend class URLSessionTransfer;

    enum class Phase { suspended, running, canceling, completed };

    [[nodiscard]] const URLRequest& request() const noexcept { return request_; }
    [[nodiscard]] const UploadBody& uploadBody() const noexcept { return uploadBody_; }
    [[nodiscard]] std::shared_ptr<URLSessionTaskDelegate> delegate() const;
    [[nodiscard]] bool isCanceling() const;
    // The one way a task ends; later calls do nothing.
    void complete(std::optional<Data> data, std::shared_ptr<const URLResponse> response,
                  std::optional<URLError> error);

    const std::weak_ptr<URLSessionLoop> loop_;
    const URLRequest request_;
    const UploadBody uploadBody_;

    mutable std::mutex mutex_;
    Phase phase_ = Phase::suspended;
    std::shared_ptr<URLSessionTaskDelegate> delegate_;
    CompletionHandler completionHandler_;
};

}  // namespace foundation
