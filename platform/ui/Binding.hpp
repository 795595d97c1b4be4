#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace ui {

// Reads and writes a value that lives elsewhere: a field of an observable object or a view's state.
template <typename T>
class Binding {
public:
    Binding(std::function<T()> get, std::function<void(T)> set) : get_(std::move(get)), set_(std::move(set)) {}

    // A binding to a value that never changes; writes are dropped.
    static Binding constant(T value) {
        return Binding([value] { return value; }, [](T) {});
    }

    [[nodiscard]] T get() const { return get_(); }
    void set(T value) const { set_(std::move(value)); }

    [[nodiscard]] const std::function<T()>& getter() const noexcept { return get_; }
    [[nodiscard]] const std::function<void(T)>& setter() const noexcept { return set_; }

private:
    std::function<T()> get_;
    std::function<void(T)> set_;
};

// A view's own value. Copies share it, so a view's body and the closures it makes see one value;
// a host keeps the copy it saw when the view came on screen for as long as that view stays there.
template <typename T>
class State {
public:
    State() : box_(std::make_shared<T>()) {}
    explicit State(T initial) : box_(std::make_shared<T>(std::move(initial))) {}

    [[nodiscard]] const T& get() const noexcept { return *box_; }
    [[nodiscard]] T& get() noexcept { return *box_; }
    void set(T value) const { *box_ = std::move(value); }

    [[nodiscard]] Binding<T> binding() const {
        return Binding<T>([box = box_] { return *box; }, [box = box_](T value) { *box = std::move(value); });
    }

private:
    std::shared_ptr<T> box_;
};

}  // namespace ui
