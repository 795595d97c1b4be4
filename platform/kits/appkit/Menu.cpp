#include "platform/kits/appkit/Menu.hpp"

#include "platform/runtime/base/Verify.hpp"

namespace appkit {

Menu::Menu(std::string title) : title_(std::move(title)) {}

Menu::~Menu() {
    for (const auto& item : items_) {
        item->menu_ = nullptr;
    }
}

void Menu::addItem(std::shared_ptr<MenuItem> item) {
    VERIFY(item != nullptr, "a menu holds items, not nothing");
    VERIFY(item->menu_ == nullptr, "the item already belongs to a menu");
    item->menu_ = this;
    items_.push_back(std::move(item));
    changed();
}

void Menu::removeAllItems() {
    for (const auto& item : items_) {
        item->menu_ = nullptr;
    }
    items_.clear();
    changed();
}

std::shared_ptr<MenuItem> Menu::itemWithTag(long tag) const {
    for (const auto& item : items_) {
        if (item->tag() == tag) {
            return item;
        }
    }
    return nullptr;
}

std::size_t Menu::addChangeListener(std::function<void()> listener) {
    const std::size_t id = nextListener_++;
    listeners_.emplace(id, std::move(listener));
    return id;
}

void Menu::removeChangeListener(std::size_t id) {
    listeners_.erase(id);
}

void Menu::changed() {
    // A copy: a listener may remove itself.
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners) {
        listener();
    }
}

}  // namespace appkit
