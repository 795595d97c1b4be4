#pragma once

#include "platform/runtime/concurrency/Executor.hpp"

#include <chrono>
#include <memory>
#include <string>

namespace concurrency {

// A serial queue on the global thread pool: jobs run one at a time, in the order they were enqueued,
// each on whichever pool thread is free, and each sees the writes of the jobs before it. No thread is
// its own. Destroying the executor drops no job: those enqueued already still run.
class SerialExecutor final : public Executor {
public:
    // The label names the queue, for people reading a trace, such as "Monitor".
    explicit SerialExecutor(std::string label);
    ~SerialExecutor() override;
    SerialExecutor(const SerialExecutor&) = delete;
    SerialExecutor& operator=(const SerialExecutor&) = delete;

    void enqueue(Job job) override;
    // Whether the calling thread runs one of this queue's jobs now.
    [[nodiscard]] bool isCurrent() const noexcept override;
    // Unlike the default, the delay keeps the queue alive rather than this object.
    DelayedJob enqueueAfter(std::chrono::nanoseconds delay, Job job) override;

    [[nodiscard]] const std::string& label() const noexcept;

private:
    struct Queue;
    std::shared_ptr<Queue> queue_;
};

}  // namespace concurrency
