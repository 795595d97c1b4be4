#pragma once

#include "platform/runtime/concurrency/Executor.hpp"

#include <cstddef>
#include <memory>

namespace concurrency {

// The concurrent executor for work that belongs to no actor: a fixed pool of threads, as many as the
// machine has hardware threads (at least two), taking jobs in the order they were enqueued.
class GlobalExecutor final : public Executor {
public:
    static GlobalExecutor& shared();

    void enqueue(Job job) override;
    [[nodiscard]] bool isCurrent() const noexcept override;

    [[nodiscard]] std::size_t threadCount() const noexcept;

    GlobalExecutor(const GlobalExecutor&) = delete;
    GlobalExecutor& operator=(const GlobalExecutor&) = delete;

private:
    explicit GlobalExecutor(std::size_t threads);
    ~GlobalExecutor() override;

    struct Pool;
    std::unique_ptr<Pool> pool_;
};

}  // namespace concurrency
