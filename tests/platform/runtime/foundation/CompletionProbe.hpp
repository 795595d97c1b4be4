#pragma once

#include "platform/runtime/foundation/http/URLSession.hpp"
#include "platform/runtime/foundation/http/URLSessionTask.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace foundation {

// Makes one task of a session and catches its completion for a test to wait on, counting every call,
// so that a second completion shows. What the completion handler writes to is shared with the task,
// so the probe may go before the task does.
class CompletionProbe {
public:
    struct Outcome {
        std::optional<Data> data;
        std::shared_ptr<const URLResponse> response;
        std::optional<URLError> error;
        std::thread::id thread;
    };

    // The probe's task, suspended.
    std::shared_ptr<URLSessionDataTask> dataTask(URLSession& session, URLRequest request,
                                                 std::shared_ptr<URLSessionTaskDelegate> delegate = nullptr) {
        return watch(session.dataTask(std::move(request), handler(), std::move(delegate)));
    }
    std::shared_ptr<URLSessionUploadTask> uploadTask(URLSession& session, URLRequest request, URL fileURL,
                                                     std::shared_ptr<URLSessionTaskDelegate> delegate = nullptr) {
        return watch(session.uploadTask(std::move(request), std::move(fileURL), handler(), std::move(delegate)));
    }

    // The first completion. A task that does not complete within `limit` fails the test instead of
    // hanging it, and is cancelled and waited for, so that nothing of it is left running once the
    // test goes on: a transfer that went on would hold up the session's thread for the tests after.
    Outcome wait(std::chrono::seconds limit = std::chrono::seconds(60)) {
        if (!completion_->awaitFirst(limit)) {
            ADD_FAILURE() << "the task did not complete within " << limit.count() << " s";
            task_->cancel();
            if (!completion_->awaitFirst(cancelledBound)) {
                ADD_FAILURE() << "the task did not complete within " << cancelledBound.count()
                              << " s of its cancellation either";
                return {};
            }
        }
        return completion_->first();
    }

    [[nodiscard]] int calls() const { return completion_->calls(); }

private:
    // How long a task may take to complete once a wait that gave up has cancelled it.
    static constexpr std::chrono::seconds cancelledBound{60};

    class Completion {
    public:
        void record(Outcome outcome) {
            const std::lock_guard lock(mutex_);
            if (calls_++ == 0) {
                first_ = std::move(outcome);
            }
            arrived_.notify_all();
        }

        bool awaitFirst(std::chrono::seconds limit) {
            std::unique_lock lock(mutex_);
            return arrived_.wait_for(lock, limit, [this] { return calls_ > 0; });
        }

        [[nodiscard]] Outcome first() const {
            const std::lock_guard lock(mutex_);
            return first_;
        }

        [[nodiscard]] int calls() const {
            const std::lock_guard lock(mutex_);
            return calls_;
        }

    private:
        mutable std::mutex mutex_;
        std::condition_variable arrived_;
        int calls_ = 0;
        Outcome first_;
    };

    URLSessionTask::CompletionHandler handler() const {
        return [completion = completion_](std::optional<Data> data, std::shared_ptr<const URLResponse> response,
                                          std::optional<URLError> error) {
            completion->record({std::move(data), std::move(response), std::move(error), std::this_thread::get_id()});
        };
    }

    template <typename Task>
    std::shared_ptr<Task> watch(std::shared_ptr<Task> task) {
        task_ = task;
        return task;
    }

    std::shared_ptr<Completion> completion_ = std::make_shared<Completion>();
    std::shared_ptr<URLSessionTask> task_;
};

}  // namespace foundation
