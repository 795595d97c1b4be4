#include "platform/runtime/foundation/http/URLSession.hpp"

#include "platform/runtime/concurrency/CheckedContinuation.hpp"
#include "platform/runtime/concurrency/WithCheckedThrowingContinuation.hpp"
#include "platform/runtime/concurrency/WithTaskCancellationHandler.hpp"
#include "platform/runtime/foundation/http/internal/URLSessionLoop.hpp"
#include "platform/runtime/foundation/http/URLSessionTaskDelegate.hpp"
#include "platform/runtime/foundation/http/internal/URLSessionTaskHolder.hpp"

#include <functional>
#include <string>

namespace foundation {
namespace {

using concurrency::CheckedContinuation;

// Makes the suspended task of an awaited call, with the completion handler it is given.
using TaskMaker = std::function<std::shared_ptr<URLSessionTask>(URLSessionTask::CompletionHandler)>;

// A completed task always carries either an error or both a body and a
// response; anything else is treated as a reply the session could not read.
URLSessionTask::CompletionHandler resuming(CheckedContinuation<URLSessionReply> continuation) {
    return [continuation](std::optional<Data> data, std::shared_ptr<const URLResponse> response,
                          std::optional<URLError> error) {
        if (error || !data || !response) {
            continuation.resumeThrowing(error.value_or(URLError(URLError::Code::badServerResponse)));
            return;
        }
        continuation.resume(URLSessionReply{std::move(*data), std::move(response)});
    };
}

concurrency::Task<URLSessionReply> awaitTransfer(std::string name, TaskMaker makeTask) {
    const auto holder = std::make_shared<URLSessionTaskHolder>();
    // Both keep a holder of their own: once the task is resumed or cancelled
    // the call can end, and free this frame, while they are still running.
    // Named, not written inside the co_await, for what they capture (see Task.hpp).
    const auto startTask = [holder, &makeTask](const CheckedContinuation<URLSessionReply>& continuation) {
        holder->start(makeTask(resuming(continuation)));
    };
    const std::function<void()> cancelTask = [holder] { holder->cancel(); };
    const auto awaitReply = [&]() -> concurrency::Task<URLSessionReply> {
        co_return co_await concurrency::withCheckedThrowingContinuation<URLSessionReply>(name, startTask);
    };
    co_return co_await concurrency::withTaskCancellationHandler(awaitReply, cancelTask);
}

}  // namespace

URLSession::URLSession() : loop_(std::make_shared<URLSessionLoop>(*this)) {}

URLSession::~URLSession() {
    loop_->shutdown();
}

URLSession& URLSession::shared() {
    static URLSession session;
    return session;
}

concurrency::Executor& URLSession::executor() const noexcept {
    return *loop_;
}

std::shared_ptr<URLSessionDataTask> URLSession::dataTask(URLRequest request,
                                                         URLSessionTask::CompletionHandler completionHandler,
                                                         std::shared_ptr<URLSessionTaskDelegate> delegate) {
    return std::shared_ptr<URLSessionDataTask>(
        new URLSessionDataTask(loop_, std::move(request), std::move(delegate), std::move(completionHandler)));
}

std::shared_ptr<URLSessionUploadTask> URLSession::uploadTask(
    URLRequest request, URL fileURL, URLSessionTask::CompletionHandler completionHandler,
    std::shared_ptr<URLSessionTaskDelegate> delegate) {
    return std::shared_ptr<URLSessionUploadTask>(new URLSessionUploadTask(
        loop_, std::move(request), std::move(fileURL), std::move(delegate), std::move(completionHandler)));
}

std::shared_ptr<URLSessionUploadTask> URLSession::uploadTask(URLRequest request, MultipartFormBody form,
                                                             std::uint64_t memoryThreshold,
                                                             URLSessionTask::CompletionHandler completionHandler) {
    URLSessionUploadTask::FormUpload body{std::move(form), memoryThreshold};
    return std::shared_ptr<URLSessionUploadTask>(new URLSessionUploadTask(
        loop_, std::move(request), std::move(body), nullptr, std::move(completionHandler)));
}

concurrency::Task<URLSessionReply> URLSession::data(URLRequest request,
                                                    std::shared_ptr<URLSessionTaskDelegate> delegate) {
    // The arguments live in this frame until the call ends; the task is made before that.
    const TaskMaker makeTask = [&](URLSessionTask::CompletionHandler completionHandler) {
        return std::shared_ptr<URLSessionTask>(
            dataTask(std::move(request), std::move(completionHandler), std::move(delegate)));
    };
    co_return co_await awaitTransfer("URLSession::data", makeTask);
}

concurrency::Task<URLSessionReply> URLSession::upload(URLRequest request, URL fileURL,
                                                      std::shared_ptr<URLSessionTaskDelegate> delegate) {
    const TaskMaker makeTask = [&](URLSessionTask::CompletionHandler completionHandler) {
        return std::shared_ptr<URLSessionTask>(uploadTask(std::move(request), std::move(fileURL),
                                                          std::move(completionHandler), std::move(delegate)));
    };
    co_return co_await awaitTransfer("URLSession::upload", makeTask);
}

}  // namespace foundation
