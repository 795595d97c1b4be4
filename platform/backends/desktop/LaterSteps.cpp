#include "platform/backends/desktop/LaterSteps.hpp"

#include <glib.h>

namespace desktop {

struct LaterSteps::Pending {
    LaterSteps* owner;
    std::function<void()> step;
    guint source = 0;
};

LaterSteps::~LaterSteps() {
    for (const guint source : pending_) {
        g_source_remove(source);
    }
}

void LaterSteps::later(std::function<void()> step) {
    auto* pending = new Pending{this, std::move(step)};
    pending->source = g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, +[](gpointer data) -> gboolean {
        auto* due = static_cast<Pending*>(data);
        due->owner->pending_.erase(due->source);
        due->step();
        return G_SOURCE_REMOVE;
    }, pending, +[](gpointer data) { delete static_cast<Pending*>(data); });
    pending_.insert(pending->source);
}

}  // namespace desktop
