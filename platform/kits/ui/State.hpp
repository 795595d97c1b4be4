#pragma once

#include "platform/kits/ui/Binding.hpp"

#include <memory>
#include <utility>

namespace ui {

// A view's own value. Copies share it, so a view's body and the closures it makes see one value;
// a host keeps the copy it saw when the view came on screen for as long as that view stays there.
template <typename T>
class State {
public:
    State() : box_(std::make_shared<T>()) {}
    explicit State(T initial) : box_(std::make_shared<T>(std::move(initial))) {}

    [[nodiscard]] const T& get() const noexcept { return *box_; }
    void set(T value) const { *box_ = std::move(value); }

    [[nodiscard]] Binding<T> binding() const {
        return Binding<T>([box = box_] { return *box; }, [box = box_](T value) { *box = std::move(value); });
    }

private:
    std::shared_ptr<T> box_;
};

}  // namespace ui
