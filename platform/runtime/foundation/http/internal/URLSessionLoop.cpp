#include "platform/runtime/foundation/http/internal/URLSessionLoop.hpp"

#include "platform/runtime/base/Verify.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/URLSessionTask.hpp"
#include "platform/runtime/foundation/http/internal/URLSessionTransfer.hpp"

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace foundation {
namespace {

// Sockets, curl's own timers and wake-ups all end the wait sooner; this only
// bounds how long an idle loop sleeps.
constexpr int idleWaitMilliseconds = 60'000;

// The other platform opens at most six connections to one host and queues
// the rest; a thousand requests then reuse a handful of connections.
constexpr long maximumConnectionsPerHost = 6;

void initializeCurlOnce() {
    static const CURLcode result = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (result != CURLE_OK) {
        throw std::runtime_error("the network library could not be initialised");
    }
}

URLError cancellation() {
    return URLError(URLError::Code::cancelled);
}

thread_local const URLSessionLoop* runningLoop = nullptr;

}  // namespace

URLSessionLoop::URLSessionLoop(URLSession& session) : session_(session) {
    initializeCurlOnce();
    multi_ = curl_multi_init();
    if (multi_ == nullptr) {
        throw std::runtime_error("the network library could not create a transfer engine");
    }
    curl_multi_setopt(multi_, CURLMOPT_MAX_HOST_CONNECTIONS, maximumConnectionsPerHost);
    thread_ = std::thread([this] { run(); });
}

URLSessionLoop::~URLSessionLoop() {
    shutdown();
    curl_multi_cleanup(multi_);
}

bool URLSessionLoop::start(std::shared_ptr<URLSessionTask> task) {
    return submit(std::move(task), Command::start);
}

bool URLSessionLoop::cancel(std::shared_ptr<URLSessionTask> task) {
    return submit(std::move(task), Command::cancel);
}

bool URLSessionLoop::submit(std::shared_ptr<URLSessionTask> task, Command command) {
    {
        const std::lock_guard lock(mutex_);
        if (stopping_) {
            return false;
        }
        orders_.push_back({std::move(task), command});
    }
    curl_multi_wakeup(multi_);
    return true;
}

void URLSessionLoop::enqueue(Job job) {
    {
        const std::lock_guard lock(mutex_);
        VERIFY(!finished_, "a job was sent to the thread of a session that has shut down");
        jobs_.push_back(std::move(job));
    }
    curl_multi_wakeup(multi_);
}

bool URLSessionLoop::isCurrent() const noexcept {
    return runningLoop == this;
}

void URLSessionLoop::runJobs(std::vector<Job>& jobs) {
    for (auto& job : jobs) {
        job();
    }
    jobs.clear();
}

void URLSessionLoop::shutdown() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    curl_multi_wakeup(multi_);
    if (thread_.joinable()) {
        thread_.join();
    }
}

void URLSessionLoop::run() {
    runningLoop = this;
    std::vector<Order> orders;
    std::vector<Job> jobs;
    for (;;) {
        {
            const std::lock_guard lock(mutex_);
            orders.swap(orders_);
            jobs.swap(jobs_);
            if (stopping_) {
                break;
            }
        }
        for (const auto& order : orders) {
            apply(order);
        }
        orders.clear();
        runJobs(jobs);

        int running = 0;
        curl_multi_perform(multi_, &running);
        completeFinishedTransfers();
        const int wait = finishIdleTransfers();
        curl_multi_poll(multi_, nullptr, 0, wait, nullptr);
    }
    cancelEverything(std::move(orders));
    // What the last jobs and completions enqueue still runs here.
    for (;;) {
        runJobs(jobs);
        const std::lock_guard lock(mutex_);
        if (jobs_.empty()) {
            finished_ = true;
            break;
        }
        jobs.swap(jobs_);
    }
}

void URLSessionLoop::apply(const Order& order) {
    switch (order.command) {
    case Command::start:
        // Its cancel order is queued behind this one and completes it.
        if (!order.task->isCanceling()) {
            begin(order.task);
        }
        break;
    case Command::cancel:
        if (const auto found = transfers_.find(order.task.get()); found != transfers_.end()) {
            curl_multi_remove_handle(multi_, found->second->handle());
            transfers_.erase(found);
        }
        order.task->complete(std::nullopt, nullptr, cancellation());
        break;
    }
}

void URLSessionLoop::begin(const std::shared_ptr<URLSessionTask>& task) {
    std::unique_ptr<URLSessionTransfer> transfer;
    try {
        transfer = std::make_unique<URLSessionTransfer>(session_, task);
    } catch (const URLError& error) {
        task->complete(std::nullopt, nullptr, error);
        return;
    }
    if (curl_multi_add_handle(multi_, transfer->handle()) != CURLM_OK) {
        task->complete(std::nullopt, nullptr, URLError(URLError::Code::unknown));
        return;
    }
    transfers_.emplace(task.get(), std::move(transfer));
}

void URLSessionLoop::completeFinishedTransfers() {
    int remaining = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &remaining)) {
        if (message->msg != CURLMSG_DONE) {
            continue;
        }
        // The message is gone once its handle leaves the multi handle.
        CURL* const handle = message->easy_handle;
        const CURLcode result = message->data.result;
        URLSessionTransfer* transfer = nullptr;
        curl_easy_getinfo(handle, CURLINFO_PRIVATE, &transfer);
        curl_multi_remove_handle(multi_, handle);
        auto node = transfers_.extract(&transfer->task());
        node.mapped()->finish(result);
    }
}

int URLSessionLoop::finishIdleTransfers() {
    const auto now = std::chrono::steady_clock::now();
    auto nearest = now + std::chrono::milliseconds(idleWaitMilliseconds);
    std::vector<const URLSessionTask*> idle;
    for (const auto& [task, transfer] : transfers_) {
        const auto deadline = transfer->idleDeadline();
        if (deadline <= now) {
            idle.push_back(task);
        } else {
            nearest = std::min(nearest, deadline);
        }
    }
    for (const auto* task : idle) {
        auto node = transfers_.extract(task);
        curl_multi_remove_handle(multi_, node.mapped()->handle());
        node.mapped()->finish(CURLE_OPERATION_TIMEDOUT);
    }
    // Rounded up, so that the loop never wakes just before a deadline.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nearest - now);
    return static_cast<int>(wait.count());
}

void URLSessionLoop::cancelEverything(std::vector<Order> orders) {
    for (const auto& [task, transfer] : transfers_) {
        curl_multi_remove_handle(multi_, transfer->handle());
    }
    const auto transfers = std::move(transfers_);
    transfers_.clear();
    for (const auto& [task, transfer] : transfers) {
        transfer->task().complete(std::nullopt, nullptr, cancellation());
    }
    for (const auto& order : orders) {
        order.task->complete(std::nullopt, nullptr, cancellation());
    }
}

}  // namespace foundation
