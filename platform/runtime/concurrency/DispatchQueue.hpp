#pragma once

#include <functional>
#include <memory>
#include <string>

namespace concurrency {

// A queue of callbacks with a name: the main queue, or a serial queue whose callbacks run one at a
// time, in the order they were posted, on threads of the global pool. Copies are handles on the same
// queue; the queue lives while a handle or a waiting callback does.
class DispatchQueue {
public:
    // A new serial queue. The label names it in diagnostics.
    explicit DispatchQueue(std::string label);

    // The main thread's queue: the main actor's, so its callbacks and main-actor work keep one order.
    static const DispatchQueue& main();

    [[nodiscard]] const std::string& label() const noexcept;

    // Thread-safe; the callback runs later, never inside this call.
    void async(std::function<void()> callback) const;

    // Whether the calling thread is running a callback of this queue (for the main queue: is the main
    // thread).
    [[nodiscard]] bool isCurrent() const noexcept;

private:
    struct State;
    explicit DispatchQueue(std::shared_ptr<State> state) noexcept : state_(std::move(state)) {}

    std::shared_ptr<State> state_;
};

}  // namespace concurrency
