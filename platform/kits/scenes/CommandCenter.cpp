#include "platform/kits/scenes/CommandCenter.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/kits/scenes/FocusedValues.hpp"

namespace ui {

CommandCenter::CommandCenter(std::function<std::vector<CommandGroup>()> commands)
    : commands_(std::move(commands)), groups_(commands_()) {
    focusListener_ = FocusedValues::shared().addChangeListener([this] { scheduleUpdate(); });
}

CommandCenter::~CommandCenter() {
    FocusedValues::shared().removeChangeListener(focusListener_);
}

void CommandCenter::observe(combine::ObservableObject& object) {
    object.objectWillChange().sink([this] { scheduleUpdate(); }).store(observations_);
}

void CommandCenter::update() {
    updateScheduled_ = false;
    groups_ = commands_();
    if (onChange_) {
        onChange_();
    }
}

void CommandCenter::scheduleUpdate() {
    if (updateScheduled_) {
        return;
    }
    updateScheduled_ = true;
    // Objects announce a change before they make it: evaluate once it has been made.
    concurrency::MainActor::shared().enqueue(base::ifAlive(self_.weak(), [](CommandCenter& center) {
        if (center.updateScheduled_) {
            center.update();
        }
    }));
}

}  // namespace ui
