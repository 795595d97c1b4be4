#include "platform/runtime/concurrency/DispatchQueue.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/SerialExecutor.hpp"

namespace concurrency {

// A serial queue is a labelled serial executor on the pool; the main queue is the main actor's.
struct DispatchQueue::State {
    explicit State(std::string name) : label(std::move(name)) {}
    explicit State(std::unique_ptr<SerialExecutor> executor) : label(executor->label()), serial(std::move(executor)) {}

    const std::string label;
    const std::unique_ptr<SerialExecutor> serial;  // none for the main queue
};

DispatchQueue::DispatchQueue(std::string label)
    : state_(std::make_shared<State>(std::make_unique<SerialExecutor>(std::move(label)))) {}

const DispatchQueue& DispatchQueue::main() {
    static const DispatchQueue* const queue = new DispatchQueue(std::make_shared<State>("main"));
    return *queue;
}

const std::string& DispatchQueue::label() const noexcept {
    return state_->label;
}

void DispatchQueue::async(std::function<void()> callback) const {
    if (state_->serial) {
        state_->serial->enqueue(std::move(callback));
    } else {
        MainActor::shared().enqueue(std::move(callback));
    }
}

bool DispatchQueue::isCurrent() const noexcept {
    return state_->serial ? state_->serial->isCurrent() : MainActor::isMainThread();
}

}  // namespace concurrency
