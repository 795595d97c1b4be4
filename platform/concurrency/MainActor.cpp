#include "platform/concurrency/MainActor.hpp"

#include <glib.h>
#include <unistd.h>

#include <deque>
#include <mutex>

namespace concurrency {

// One GSource stays attached for the life of the process and is ready whenever jobs wait. A source
// per job would not keep the order jobs were enqueued in.
struct MainActor::Queue {
    struct Source {
        GSource base;
        Queue* queue;
    };

    std::mutex mutex;
    std::deque<Job> jobs;
    GMainContext* context = g_main_context_default();
    GSource* source = nullptr;

    bool hasJobs() {
        const std::lock_guard lock(mutex);
        return !jobs.empty();
    }

    // Jobs enqueued while these run wait for the next iteration, so other sources are not starved.
    void runWaitingJobs() noexcept {
        std::deque<Job> batch;
        {
            const std::lock_guard lock(mutex);
            batch.swap(jobs);
        }
        for (auto& job : batch) {
            job();
        }
    }

    static Queue& of(GSource* source) { return *reinterpret_cast<Source*>(source)->queue; }

    static gboolean prepare(GSource* source, gint* timeout) {
        *timeout = -1;
        return of(source).hasJobs() ? TRUE : FALSE;
    }

    static gboolean check(GSource* source) { return of(source).hasJobs() ? TRUE : FALSE; }

    static gboolean dispatch(GSource* source, GSourceFunc, gpointer) {
        of(source).runWaitingJobs();
        return G_SOURCE_CONTINUE;
    }

    static GSourceFuncs functions;
};

GSourceFuncs MainActor::Queue::functions = {
    &MainActor::Queue::prepare,
    &MainActor::Queue::check,
    &MainActor::Queue::dispatch,
    nullptr,
    nullptr,
    nullptr,
};

MainActor& MainActor::shared() {
    // Never destroyed: work from other threads may still arrive while the process exits.
    static MainActor* const instance = new MainActor;
    return *instance;
}

MainActor::MainActor() : queue_(std::make_unique<Queue>()) {
    queue_->source = g_source_new(&Queue::functions, sizeof(Queue::Source));
    reinterpret_cast<Queue::Source*>(queue_->source)->queue = queue_.get();
    g_source_set_priority(queue_->source, G_PRIORITY_DEFAULT);
    g_source_set_name(queue_->source, "main actor");
    g_source_attach(queue_->source, queue_->context);
}

MainActor::~MainActor() = default;

void MainActor::enqueue(Job job) {
    {
        const std::lock_guard lock(queue_->mutex);
        queue_->jobs.push_back(std::move(job));
    }
    g_main_context_wakeup(queue_->context);
}

bool MainActor::isMainThread() noexcept {
    return gettid() == getpid();
}

}  // namespace concurrency
