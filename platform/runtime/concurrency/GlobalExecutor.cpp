#include "platform/runtime/concurrency/GlobalExecutor.hpp"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace concurrency {

namespace {
thread_local bool onPoolThread = false;
}  // namespace

struct GlobalExecutor::Pool {
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<Job> jobs;
    std::vector<std::thread> threads;

    [[noreturn]] void work() {
        onPoolThread = true;
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex);
                ready.wait(lock, [this] { return !jobs.empty(); });
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            job();
        }
    }
};

GlobalExecutor& GlobalExecutor::shared() {
    // Never destroyed, like the main actor: its threads outlive every static object.
    static GlobalExecutor* const instance =
        new GlobalExecutor(std::max(2U, std::thread::hardware_concurrency()));
    return *instance;
}

GlobalExecutor::GlobalExecutor(std::size_t threads) : pool_(std::make_unique<Pool>()) {
    for (std::size_t index = 0; index < threads; ++index) {
        pool_->threads.emplace_back([pool = pool_.get()] { pool->work(); });
    }
}

GlobalExecutor::~GlobalExecutor() = default;

void GlobalExecutor::enqueue(Job job) {
    {
        const std::lock_guard lock(pool_->mutex);
        pool_->jobs.push_back(std::move(job));
    }
    pool_->ready.notify_one();
}

bool GlobalExecutor::isCurrent() const noexcept {
    return onPoolThread;
}

std::size_t GlobalExecutor::threadCount() const noexcept {
    return pool_->threads.size();
}

}  // namespace concurrency
