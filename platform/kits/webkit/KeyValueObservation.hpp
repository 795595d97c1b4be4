#pragma once

#include <functional>
#include <utility>

namespace webkit {

// Keeps one observer of a web view's property registered; destroying or invalidating it removes the
// observer. Move-only.
class KeyValueObservation {
public:
    KeyValueObservation() = default;
    explicit KeyValueObservation(std::function<void()> invalidate) : invalidate_(std::move(invalidate)) {}
    ~KeyValueObservation() { invalidate(); }
    KeyValueObservation(KeyValueObservation&& other) noexcept : invalidate_(std::exchange(other.invalidate_, {})) {}
    KeyValueObservation& operator=(KeyValueObservation&& other) noexcept {
        if (this != &other) {
            invalidate();
            invalidate_ = std::exchange(other.invalidate_, {});
        }
        return *this;
    }
    KeyValueObservation(const KeyValueObservation&) = delete;
    KeyValueObservation& operator=(const KeyValueObservation&) = delete;

    void invalidate() {
        if (invalidate_) {
            std::exchange(invalidate_, {})();
        }
    }

private:
    std::function<void()> invalidate_;
};

}  // namespace webkit
