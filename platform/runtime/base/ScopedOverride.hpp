#pragma once

#include "platform/runtime/base/Verify.hpp"

#include <mutex>
#include <optional>
#include <utility>

namespace base {

// A process-wide setting that code reads through current() and that a test replaces for one scope,
// instead of changing an environment variable while other threads may read the environment. Derive
// one type per setting (`class APIBaseURLOverride : public ScopedOverride<URL, APIBaseURLOverride>`),
// which keeps the settings apart. Overrides nest, and must end in the reverse order they began; the
// value is visible to every thread as soon as the constructor returns.
template <typename T, typename Setting>
class ScopedOverride {
public:
    explicit ScopedOverride(T value) : value_(std::move(value)) {
        const std::lock_guard lock(mutex_);
        previous_ = std::exchange(innermost_, this);
    }

    ~ScopedOverride() {
        const std::lock_guard lock(mutex_);
        VERIFY(innermost_ == this, "scoped overrides of one setting end in the reverse order they began");
        innermost_ = previous_;
    }

    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;

    // The value of the innermost override in force, if any.
    [[nodiscard]] static std::optional<T> current() {
        const std::lock_guard lock(mutex_);
        if (innermost_ == nullptr) {
            return std::nullopt;
        }
        return innermost_->value_;
    }

private:
    const T value_;
    const ScopedOverride* previous_ = nullptr;

    static inline std::mutex mutex_;
    static inline const ScopedOverride* innermost_ = nullptr;
};

}  // namespace base
