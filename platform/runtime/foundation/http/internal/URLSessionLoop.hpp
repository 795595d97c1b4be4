#pragma once

#include "platform/runtime/concurrency/Executor.hpp"

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace foundation {

class URLSession;
class URLSessionTask;
class URLSessionTransfer;

// The engine behind one session: a single curl multi handle driven by a
// single thread, so that any number of concurrent transfers costs one
// thread. Tasks hand it their start and cancel requests from any thread; it
// wakes, applies them in order and completes the tasks on its own thread.
// Internal to the session; nothing outside URLSession and URLSessionTask
// uses it.
//
// It is also the executor of the session's thread: jobs enqueued on it run
// there, between rounds of transfers, in the order they came.
class URLSessionLoop final : public concurrency::Executor {
public:
    explicit URLSessionLoop(URLSession& session);
    ~URLSessionLoop();
    URLSessionLoop(const URLSessionLoop&) = delete;
    URLSessionLoop& operator=(const URLSessionLoop&) = delete;

    // Jobs enqueued before the thread ends, including those that jobs and
    // completions enqueue while it shuts down, run before shutdown() returns;
    // enqueueing after that is a fault of the caller.
    void enqueue(Job job) override;
    [[nodiscard]] bool isCurrent() const noexcept override;

    // Both answer false once the loop has shut down; the caller then ends the task itself.
    bool start(std::shared_ptr<URLSessionTask> task);
    bool cancel(std::shared_ptr<URLSessionTask> task);

    // Completes every unfinished task as cancelled, on the loop's thread, and
    // joins that thread. Must not be called from the loop's thread.
    void shutdown();

private:
    enum class Command { start, cancel };
    struct Order {
        std::shared_ptr<URLSessionTask> task;
        Command command;
    };

    bool submit(std::shared_ptr<URLSessionTask> task, Command command);
    void run();
    void apply(const Order& order);
    void begin(const std::shared_ptr<URLSessionTask>& task);
    void completeFinishedTransfers();
    // Finishes as timed out every transfer idle past its request's time-out,
    // and gives how long the loop may wait before the next one is due (ms).
    [[nodiscard]] int finishIdleTransfers();
    void cancelEverything(std::vector<Order> orders);
    void runJobs(std::vector<Job>& jobs);

    URLSession& session_;
    CURLM* multi_;

    std::mutex mutex_;
    std::vector<Order> orders_;
    std::vector<Job> jobs_;
    bool stopping_ = false;
    bool finished_ = false;

    // Touched by the loop's thread only.
    std::unordered_map<const URLSessionTask*, std::unique_ptr<URLSessionTransfer>> transfers_;

    std::thread thread_;
};

}  // namespace foundation
