#pragma once

#include "platform/runtime/concurrency/DispatchQueue.hpp"
#include "platform/kits/network/NetworkPath.hpp"

#include <functional>
#include <memory>

namespace network {

// Watches the machine's network and reports each path on a queue: the current one once started, then
// every change the backend reports. Thread-safe.
class PathMonitor {
public:
    using Handler = std::function<void(const Path&)>;

    PathMonitor();
    // Cancels the monitor.
    ~PathMonitor();
    PathMonitor(const PathMonitor&) = delete;
    PathMonitor& operator=(const PathMonitor&) = delete;

    // Called on the start queue with every reported path, once per report; set it before start().
    void setPathUpdateHandler(Handler handler);

    // Starts reporting on `queue`, which the monitor keeps until it is cancelled. A monitor starts once.
    void start(concurrency::DispatchQueue queue);

    // No handler call begins after this returns, also for reports already on the queue. A cancelled
    // monitor cannot be started again.
    void cancel();

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace network
