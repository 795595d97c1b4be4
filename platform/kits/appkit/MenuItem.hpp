#pragma once

#include <functional>
#include <memory>
#include <string>

namespace appkit {

class Menu;

// One item of a menu. Choosing it calls its action with the item itself.
class MenuItem {
public:
    using Action = std::function<void(MenuItem& sender)>;

    MenuItem(std::string title, Action action, std::string keyEquivalent);
    virtual ~MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    [[nodiscard]] const std::string& title() const noexcept { return title_; }
    // The key that chooses the item with the command modifier (Control here); "" for none.
    [[nodiscard]] const std::string& keyEquivalent() const noexcept { return keyEquivalent_; }
    [[nodiscard]] long tag() const noexcept { return tag_; }
    void setTag(long tag) noexcept { tag_ = tag; }
    [[nodiscard]] bool isEnabled() const noexcept { return enabled_; }
    void setEnabled(bool enabled);

    // What happens when the item is chosen; an item without an action does nothing.
    void setAction(Action action) { action_ = std::move(action); }
    // Chooses the item, as a click on it does.
    void performAction();

private:
    friend class Menu;

    std::string title_;
    std::string keyEquivalent_;
    Action action_;
    long tag_ = 0;
    bool enabled_ = true;
    Menu* menu_ = nullptr;
};

}  // namespace appkit
