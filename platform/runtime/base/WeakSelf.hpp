#pragma once

#include <memory>
#include <utility>

namespace base {

// A callback that runs `body` with the object while it lives and does nothing once it is gone: for
// callbacks that others keep, which must neither keep the object alive nor reach it after its end.
// The object is held only for the length of one call.
template <typename Object, typename Body>
[[nodiscard]] auto ifAlive(std::weak_ptr<Object> weak, Body body) {
    return [weak = std::move(weak), body = std::move(body)](auto&&... arguments) {
        if (const auto object = weak.lock()) {
            body(*object, std::forward<decltype(arguments)>(arguments)...);
        }
    };
}

// The weak handle of an object that no shared pointer owns (a member of another, a value on the
// stack): the handles expire as it is destroyed. Declared as the object's last member, it goes before
// the others do.
template <typename Object>
class WeakSelf {
public:
    explicit WeakSelf(Object* object) : anchor_(object, [](Object*) {}) {}

    // A copy would hand out handles on the object it was copied from.
    WeakSelf(const WeakSelf&) = delete;
    WeakSelf& operator=(const WeakSelf&) = delete;

    [[nodiscard]] std::weak_ptr<Object> weak() const noexcept { return anchor_; }

private:
    std::shared_ptr<Object> anchor_;
};

}  // namespace base
