#pragma once

#include <functional>
#include <utility>

namespace ui {

// A two-way link to a value that lives elsewhere: what toggles and commands are given, so that they
// read and write the setting itself.
template <typename T>
class Binding {
public:
    Binding(std::function<T()> get, std::function<void(T)> set) : get_(std::move(get)), set_(std::move(set)) {}

    [[nodiscard]] T get() const { return get_(); }
    void set(T value) const { set_(std::move(value)); }

private:
    std::function<T()> get_;
    std::function<void(T)> set_;
};

}  // namespace ui
