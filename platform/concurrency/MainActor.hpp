#pragma once

#include "platform/concurrency/Executor.hpp"
#include "platform/concurrency/ResumeOn.hpp"

#include <memory>

namespace concurrency {

// The main thread's executor: jobs run in the order they were enqueued, from the default GLib main
// context, whenever the thread that owns the main loop iterates it. The main thread is the process's
// first thread, the one that runs the main loop.
class MainActor final : public Executor {
public:
    static MainActor& shared();

    void enqueue(Job job) override;
    [[nodiscard]] bool isCurrent() const noexcept override { return isMainThread(); }

    [[nodiscard]] static bool isMainThread() noexcept;

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
