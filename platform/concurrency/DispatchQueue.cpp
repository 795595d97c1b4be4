#include "platform/concurrency/DispatchQueue.hpp"

#include "platform/concurrency/GlobalExecutor.hpp"
#include "platform/concurrency/MainActor.hpp"
#include "platform/concurrency/MainQueue.hpp"

#include <deque>
#include <mutex>

namespace concurrency {

struct DispatchQueue::State : std::enable_shared_from_this<State> {
    State(std::string name, bool isMainQueue) : label(std::move(name)), isMain(isMainQueue) {}

    const std::string label;
    const bool isMain;

    std::mutex mutex;
    std::deque<std::function<void()>> waiting;
    // Whether a drain job is on the pool; at most one is, which keeps the queue serial.
    bool draining = false;

    void post(std::function<void()> callback) {
        {
            const std::lock_guard lock(mutex);
            waiting.push_back(std::move(callback));
            if (draining) {
                return;
            }
            draining = true;
        }
        GlobalExecutor::shared().enqueue([self = shared_from_this()] { self->drain(); });
    }

    // Runs what waits, one callback at a time, until the queue is empty. A callback posted meanwhile is
    // taken by the same drain, so callbacks never overlap.
    void drain() {
        current = this;
        for (;;) {
            std::function<void()> next;
            {
                const std::lock_guard lock(mutex);
                if (waiting.empty()) {
                    draining = false;
                    break;
                }
                next = std::move(waiting.front());
                waiting.pop_front();
            }
            next();
        }
        current = nullptr;
    }

    static thread_local const State* current;
};

thread_local const DispatchQueue::State* DispatchQueue::State::current = nullptr;

DispatchQueue::DispatchQueue(std::string label) : state_(std::make_shared<State>(std::move(label), false)) {}

const DispatchQueue& DispatchQueue::main() {
    static const DispatchQueue* const queue =
        new DispatchQueue(std::make_shared<State>("main", true));
    return *queue;
}

const std::string& DispatchQueue::label() const noexcept {
    return state_->label;
}

void DispatchQueue::async(std::function<void()> callback) const {
    if (state_->isMain) {
        MainQueue::async(std::move(callback));
    } else {
        state_->post(std::move(callback));
    }
}

bool DispatchQueue::isCurrent() const noexcept {
    if (state_->isMain) {
        return MainActor::isMainThread();
    }
    return State::current == state_.get();
}

}  // namespace concurrency
