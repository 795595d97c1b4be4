#include "kestrova/connectivity/TaskModifier.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/concurrency/Spawn.hpp"

namespace kestrova {

ui::View TaskModifier::body(const ui::View& content) const {
    const TaskModifier modifier = *this;
    return content.onAppear([modifier] { modifier.start(); }).onDisappear([modifier] { modifier.cancel(); });
}

void TaskModifier::start() const {
    // Spawned on the main actor, so the action's first step runs there; a task of its own, not a
    // child of whatever task calls this.
    auto body = [action = action]() -> concurrency::Task<void> { co_await action(); };
    task.set(concurrency::spawn(concurrency::MainActor::shared(), std::move(body)));
}

void TaskModifier::cancel() const {
    if (const auto& running = task.get()) {
        running->cancel();
    }
    task.set(std::nullopt);
}

ui::View task(const ui::View& view, concurrency::TaskPriority priority, std::function<concurrency::Task<void>()> action) {
    return view.modifier(TaskModifier{priority, std::move(action), {}});
}

}  // namespace kestrova
