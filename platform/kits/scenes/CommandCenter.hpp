#pragma once

#include "platform/runtime/base/WeakSelf.hpp"
#include "platform/runtime/combine/AnyCancellable.hpp"
#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/kits/scenes/Commands.hpp"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

// The application's commands as they stand now: evaluated at once, and again, on a later turn of the
// main loop, after any object they read announces a change and whenever the focused values are
// replaced, so that an item's disabled state follows its condition. Used on the main thread.
class CommandCenter {
public:
    explicit CommandCenter(std::function<std::vector<CommandGroup>()> commands);
    ~CommandCenter();
    CommandCenter(const CommandCenter&) = delete;
    CommandCenter& operator=(const CommandCenter&) = delete;

    // Evaluates the commands again after each change of `object`, which must outlive this.
    void observe(combine::ObservableObject& object);

    [[nodiscard]] const std::vector<CommandGroup>& groups() const noexcept { return groups_; }
    // Called after every evaluation but the first.
    void onChange(std::function<void()> listener) { onChange_ = std::move(listener); }

private:
    void update();
    void scheduleUpdate();

    std::function<std::vector<CommandGroup>()> commands_;
    std::vector<CommandGroup> groups_;
    std::function<void()> onChange_;
    std::vector<combine::AnyCancellable> observations_;
    std::size_t focusListener_ = 0;
    bool updateScheduled_ = false;
    base::WeakSelf<CommandCenter> self_{this};
};

}  // namespace ui
