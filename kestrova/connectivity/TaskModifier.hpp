#pragma once

#include "platform/runtime/concurrency/Task.hpp"
#include "platform/runtime/concurrency/TaskHandle.hpp"
#include "platform/runtime/concurrency/TaskPriority.hpp"
#include "platform/kits/ui/State.hpp"
#include "platform/kits/ui/View.hpp"

#include <functional>
#include <optional>

namespace kestrova {

// Ties an asynchronous action to a view's time on screen: each appearance starts the action in a
// fresh task on the main actor, and the view's leaving cancels that task.
struct TaskModifier {
    concurrency::TaskPriority priority;
    std::function<concurrency::Task<void>()> action;
    // The task of the last appearance; shared by the copies the body's actions hold.
    ui::State<std::optional<concurrency::TaskHandle<void>>> task;

    [[nodiscard]] ui::View body(const ui::View& content) const;

    // What the appear action does: a new top-level task whose handle replaces, without cancelling,
    // the one stored before.
    void start() const;
    // What the disappear action does: asks the stored task to stop and forgets it.
    void cancel() const;
};

// `task(priority:_:)`: the view with a TaskModifier whose task starts empty.
[[nodiscard]] ui::View task(const ui::View& view, concurrency::TaskPriority priority,
                            std::function<concurrency::Task<void>()> action);

}  // namespace kestrova
