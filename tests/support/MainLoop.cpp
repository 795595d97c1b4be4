#include "tests/support/MainLoop.hpp"

#include <glib.h>

namespace testsupport {

bool MainLoop::iterateUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
    // The main actor sets up the default context under C++'s once-only initialisation, which the thread
    // sanitizer can see, unlike GLib's own lock: threads that reach the context through the main actor
    // later are then ordered after its creation.
    concurrency::MainActor::shared();
    GMainContext* context = g_main_context_default();
    bool timedOut = false;
    GSource* timer = g_timeout_source_new(static_cast<guint>(bound.count()));
    g_source_set_callback(
        timer,
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &timedOut, nullptr);
    g_source_attach(timer, context);
    while (!done() && !timedOut) {
        g_main_context_iteration(context, TRUE);
    }
    g_source_destroy(timer);
    g_source_unref(timer);
    return done();
}

}  // namespace testsupport
