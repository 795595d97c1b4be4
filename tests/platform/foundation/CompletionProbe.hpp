#pragma once

#include "platform/foundation/URLSessionTask.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace foundation {

// Catches a task's completion for a test to wait on, and counts every call,
// so that a second completion shows. The probe must outlive its task.
class CompletionProbe {
public:
    struct Outcome {
        std::optional<Data> data;
        std::shared_ptr<const URLResponse> response;
        std::optional<URLError> error;
        std::thread::id thread;
    };

    URLSessionTask::CompletionHandler handler() {
        return [this](std::optional<Data> data, std::shared_ptr<const URLResponse> response,
                      std::optional<URLError> error) {
            const std::lock_guard lock(mutex_);
            if (calls_++ == 0) {
                outcome_ = Outcome{std::move(data), std::move(response), std::move(error),
                                   std::this_thread::get_id()};
            }
            arrived_.notify_all();
        };
    }

    // The first completion; a test whose task never completes fails here instead of hanging.
    Outcome wait(std::chrono::seconds limit = std::chrono::seconds(60)) {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, limit, [this] { return calls_ > 0; })) {
            ADD_FAILURE() << "the task did not complete within " << limit.count() << " s";
            return {};
        }
        return outcome_;
    }

    [[nodiscard]] int calls() const {
        const std::lock_guard lock(mutex_);
        return calls_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    int calls_ = 0;
    Outcome outcome_;
};

}  // namespace foundation
