#include "platform/runtime/concurrency/SerialExecutor.hpp"

#include "platform/runtime/concurrency/GlobalExecutor.hpp"
#include "platform/runtime/concurrency/internal/TimerThread.hpp"

#include <cstddef>
#include <deque>
#include <mutex>
#include <utility>

namespace concurrency {

namespace {
// Hands the pool thread back after this many jobs in a row, so that a busy queue cannot keep a pool
// thread from the other work waiting there.
constexpr std::size_t jobsPerTurn = 64;
}  // namespace

struct SerialExecutor::Queue : std::enable_shared_from_this<Queue> {
    explicit Queue(std::string name) : label(std::move(name)) {}

    const std::string label;
    std::mutex mutex;
    std::deque<Job> jobs;
    // Whether a turn is on the pool or running: at most one is, which is what keeps the jobs apart.
    bool scheduled = false;

    static thread_local const Queue* running;

    void enqueue(Job job) {
        {
            const std::lock_guard lock(mutex);
            jobs.push_back(std::move(job));
            if (scheduled) {
                return;
            }
            scheduled = true;
        }
        scheduleTurn();
    }

    void scheduleTurn() {
        GlobalExecutor::shared().enqueue([self = shared_from_this()] { self->takeTurn(); });
    }

    void takeTurn() {
        const Queue* const outer = std::exchange(running, this);
        for (std::size_t count = 0;; ++count) {
            Job job;
            {
                const std::lock_guard lock(mutex);
                if (jobs.empty()) {
                    scheduled = false;
                    break;
                }
                if (count == jobsPerTurn) {
                    running = outer;
                    scheduleTurn();
                    return;
                }
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            job();
        }
        running = outer;
    }
};

thread_local const SerialExecutor::Queue* SerialExecutor::Queue::running = nullptr;

SerialExecutor::SerialExecutor(std::string label) : queue_(std::make_shared<Queue>(std::move(label))) {}

SerialExecutor::~SerialExecutor() = default;

void SerialExecutor::enqueue(Job job) {
    queue_->enqueue(std::move(job));
}

bool SerialExecutor::isCurrent() const noexcept {
    return Queue::running == queue_.get();
}

DelayedJob SerialExecutor::enqueueAfter(std::chrono::nanoseconds delay, Job job) {
    return TimerThread::enqueueAfter(delay, std::move(job),
                                     [queue = queue_](Job due) { queue->enqueue(std::move(due)); });
}

const std::string& SerialExecutor::label() const noexcept {
    return queue_->label;
}

}  // namespace concurrency
