#pragma once

#include <functional>

namespace concurrency {

// The main thread's serial queue for plain callbacks. It is the main actor's queue, so callbacks and
// main-actor coroutines run in one order.
class MainQueue {
public:
    MainQueue() = delete;

    // Thread-safe; the callback runs later on the main thread, after those posted before it.
    static void async(std::function<void()> callback);
};

}  // namespace concurrency
