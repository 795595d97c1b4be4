#pragma once

#include "platform/runtime/concurrency/Executor.hpp"
#include "platform/runtime/concurrency/ResumeOn.hpp"

#include <chrono>
#include <memory>
#include <source_location>

namespace concurrency {

// The main thread's executor: jobs run in the order they were enqueued, from the default GLib main
// context, whenever the thread that owns the main loop iterates it. The main thread is the process's
// first thread, the one that runs the main loop.
class MainActor final : public Executor {
public:
    static MainActor& shared();

    void enqueue(Job job) override;
    [[nodiscard]] bool isCurrent() const noexcept override { return isMainThread(); }
    // Timed by the main context itself: the job is dispatched by the loop once its deadline has passed.
    DelayedJob enqueueAfter(std::chrono::nanoseconds delay, Job job) override;

    [[nodiscard]] static bool isMainThread() noexcept;

    // Stops the process, saying where, unless the caller runs on the main thread. For state that only
    // the main actor may touch, at the places that touch it: a race there would go unseen otherwise.
    static void preconditionIsolated(std::source_location where = std::source_location::current());

    // `co_await MainActor::run();` goes on on the main thread.
    [[nodiscard]] static ResumeOn run() { return ResumeOn(shared()); }

    MainActor(const MainActor&) = delete;
    MainActor& operator=(const MainActor&) = delete;

private:
    MainActor();
    ~MainActor() override;

    struct Queue;
    std::unique_ptr<Queue> queue_;
};

}  // namespace concurrency
