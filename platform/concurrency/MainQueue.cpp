#include "platform/concurrency/MainQueue.hpp"

#include "platform/concurrency/MainActor.hpp"

namespace concurrency {

void MainQueue::async(std::function<void()> callback) {
    MainActor::shared().enqueue(std::move(callback));
}

}  // namespace concurrency
