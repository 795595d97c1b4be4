#pragma once

namespace concurrency {

// How urgent a task is. The executors here run jobs in the order they come, so the priority is
// kept with the task for what it says, not used to reorder.
enum class TaskPriority { background, utility, low, medium, high, userInitiated };

}  // namespace concurrency
