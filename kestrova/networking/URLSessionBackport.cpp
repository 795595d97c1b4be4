#include "kestrova/networking/URLSessionBackport.hpp"

#include "platform/runtime/concurrency/WithCheckedThrowingContinuation.hpp"
#include "platform/runtime/concurrency/WithTaskCancellationHandler.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/URLSessionTask.hpp"

#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace kestrova {
namespace {

using foundation::URLSessionReply;

// The one data task of a call, shared by the continuation's body and the
// cancellation handler, which may run at the same time on another thread.
class DataTaskHolder {
public:
    void store(std::shared_ptr<foundation::URLSessionTask> task) {
        const std::lock_guard lock(mutex_);
        task_ = std::move(task);
    }

    [[nodiscard]] std::shared_ptr<foundation::URLSessionTask> task() const {
        const std::lock_guard lock(mutex_);
        return task_;
    }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<foundation::URLSessionTask> task_;
};

}  // namespace

URLSessionReply replyOfCompletion(std::optional<foundation::Data> body,
                                  std::shared_ptr<const foundation::URLResponse> response,
                                  std::optional<foundation::URLError> error) {
    if (body && response) {
        return URLSessionReply{std::move(*body), std::move(response)};
    }
    if (error) {
        throw *error;
    }
    throw foundation::URLError(foundation::URLError::Code::badServerResponse);
}

concurrency::Task<URLSessionReply> data(foundation::URLSession& session, foundation::URLRequest request) {
    const auto holder = std::make_shared<DataTaskHolder>();
    // Named, not written inside the co_await, for what they capture (see Task.hpp).
    const auto startTask = [holder, &session,
                            &request](const concurrency::CheckedContinuation<URLSessionReply>& continuation) {
        holder->store(session.dataTask(
            std::move(request),
            [continuation](std::optional<foundation::Data> body, std::shared_ptr<const foundation::URLResponse> response,
                           std::optional<foundation::URLError> error) {
                // Resumed after the catch block, not inside it: the end of the block drops this
                // thread's reference to the error, and the awaiter must hold the last one (see
                // tests/tsan.supp).
                std::optional<URLSessionReply> reply;
                std::exception_ptr failure;
                try {
                    reply.emplace(replyOfCompletion(std::move(body), std::move(response), std::move(error)));
                } catch (...) {
                    failure = std::current_exception();
                }
                if (failure) {
                    continuation.resumeThrowing(std::move(failure));
                } else {
                    continuation.resume(std::move(*reply));
                }
            }));
        // Started outside the holder's lock, as is the cancel below.
        holder->task()->resume();
    };
    const std::function<void()> cancelTask = [holder] {
        if (const auto task = holder->task()) {
            task->cancel();
        }
    };
    const auto awaitReply = [&]() -> concurrency::Task<URLSessionReply> {
        co_return co_await concurrency::withCheckedThrowingContinuation<URLSessionReply>("data(for:)", startTask);
    };
    co_return co_await concurrency::withTaskCancellationHandler(awaitReply, cancelTask);
}

}  // namespace kestrova
