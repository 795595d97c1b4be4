#include "platform/runtime/concurrency/DelayedJob.hpp"

#include "platform/runtime/concurrency/internal/DelayedJobState.hpp"

#include <utility>

namespace concurrency {

DelayedJob::DelayedJob(std::shared_ptr<DelayedJobState> state) noexcept : state_(std::move(state)) {}

bool DelayedJob::cancel() const {
    return state_ != nullptr && state_->cancel();
}

}  // namespace concurrency
