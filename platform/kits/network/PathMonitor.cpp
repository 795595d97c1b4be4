#include "platform/kits/network/PathMonitor.hpp"

#include "platform/runtime/base/Verify.hpp"
#include "platform/kits/network/PathService.hpp"

#include <mutex>
#include <optional>

namespace network {

struct PathMonitor::State : std::enable_shared_from_this<State> {
    std::mutex mutex;
    Handler handler;
    std::optional<concurrency::DispatchQueue> queue;
    bool started = false;
    bool cancelled = false;
    combine::AnyCancellable subscription;

    // From the backend, on any thread: one call of the handler per report, in order, on the queue.
    void report(const Path& path) {
        std::optional<concurrency::DispatchQueue> target;
        {
            const std::lock_guard lock(mutex);
            if (cancelled) {
                return;
            }
            target = queue;
        }
        target->async([self = shared_from_this(), path] {
            Handler call;
            {
                const std::lock_guard lock(self->mutex);
                if (self->cancelled) {
                    return;
                }
                // A copy: the handler's captures live through the call even if the monitor goes.
                call = self->handler;
            }
            if (call) {
                call(path);
            }
        });
    }
};

PathMonitor::PathMonitor() : state_(std::make_shared<State>()) {}

PathMonitor::~PathMonitor() {
    cancel();
}

void PathMonitor::setPathUpdateHandler(Handler handler) {
    const std::lock_guard lock(state_->mutex);
    state_->handler = std::move(handler);
}

void PathMonitor::start(concurrency::DispatchQueue queue) {
    {
        const std::lock_guard lock(state_->mutex);
        VERIFY(!state_->started, "a path monitor starts once");
        state_->started = true;
        if (state_->cancelled) {
            return;
        }
        state_->queue = std::move(queue);
    }
    auto subscription = PathService::installed().subscribe(
        [weak = std::weak_ptr<State>(state_)](const Path& path) {
            if (const auto state = weak.lock()) {
                state->report(path);
            }
        });
    const std::lock_guard lock(state_->mutex);
    if (state_->cancelled) {
        subscription.cancel();
    } else {
        state_->subscription = std::move(subscription);
    }
}

void PathMonitor::cancel() {
    combine::AnyCancellable subscription;
    {
        const std::lock_guard lock(state_->mutex);
        state_->cancelled = true;
        subscription = std::move(state_->subscription);
        state_->queue.reset();
        state_->handler = nullptr;
    }
    subscription.cancel();
}

}  // namespace network
