#include "platform/runtime/concurrency/MainActor.hpp"

#include "platform/runtime/base/Verify.hpp"
#include "platform/runtime/concurrency/internal/DelayedJobState.hpp"

#include <glib.h>
#include <unistd.h>

#include <algorithm>
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
    // Asked at every write of main-actor state: a thread asks the kernel once.
    thread_local const bool isMain = gettid() == getpid();
    return isMain;
}

void MainActor::preconditionIsolated(std::source_location where) {
    if (!isMainThread()) [[unlikely]] {
        base::verificationFailed("MainActor::isMainThread()", "main-actor state touched off the main thread", where);
    }
}

namespace {

// A source with only a ready time: the context dispatches it once the monotonic clock has reached that
// time. GLib's monotonic clock is the one std::chrono::steady_clock reads, in microseconds.
gboolean dispatchTimer(GSource*, GSourceFunc callback, gpointer data) {
    return callback(data);
}

GSourceFuncs timerFunctions = {nullptr, nullptr, &dispatchTimer, nullptr, nullptr, nullptr};

gboolean fireTimer(gpointer data) {
    if (auto job = (*static_cast<std::shared_ptr<DelayedJobState>*>(data))->takeForRun()) {
        job();
    }
    return G_SOURCE_REMOVE;
}

void releaseTimerState(gpointer data) {
    delete static_cast<std::shared_ptr<DelayedJobState>*>(data);
}

// Sources are made, attached and destroyed on the main thread only. GLib's own locking would make doing
// so from other threads safe, but it is invisible to the thread sanitizer; our queue's is not.
void armTimer(GMainContext* context, gint64 readyTime, const std::shared_ptr<DelayedJobState>& state) {
    GSource* source = g_source_new(&timerFunctions, sizeof(GSource));
    g_source_set_ready_time(source, readyTime);
    g_source_set_priority(source, G_PRIORITY_DEFAULT);
    g_source_set_name(source, "main actor timer");
    g_source_set_callback(source, &fireTimer, new std::shared_ptr<DelayedJobState>(state), &releaseTimerState);
    g_source_attach(source, context);
    // Our reference keeps the source valid for a cancel that races with its dispatch.
    std::shared_ptr<GSource> held(source, &g_source_unref);
    state->setUnschedule([held = std::move(held)]() mutable {
        MainActor::shared().enqueue([source = std::move(held)] { g_source_destroy(source.get()); });
    });
}

}  // namespace

DelayedJob MainActor::enqueueAfter(std::chrono::nanoseconds delay, Job job) {
    auto state = std::make_shared<DelayedJobState>(std::move(job));
    // Fixed now, whenever the source is attached, and rounded up to the context's microseconds so that the
    // job never runs before the delay has passed.
    const auto deadline = std::chrono::steady_clock::now().time_since_epoch() +
                          std::max(delay, std::chrono::nanoseconds::zero());
    const auto readyTime = static_cast<gint64>(std::chrono::ceil<std::chrono::microseconds>(deadline).count());
    if (isMainThread()) {
        armTimer(queue_->context, readyTime, state);
    } else {
        enqueue([context = queue_->context, readyTime, state] { armTimer(context, readyTime, state); });
    }
    return DelayedJob(std::move(state));
}

}  // namespace concurrency
