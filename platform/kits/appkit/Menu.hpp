#pragma once

#include "platform/kits/appkit/MenuItem.hpp"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace appkit {

// A menu: a title and its items in order. Whoever shows it (a tray item, the launcher) listens for
// changes and shows the new items at once. Used on the main thread.
class Menu {
public:
    explicit Menu(std::string title);
    virtual ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    [[nodiscard]] const std::string& title() const noexcept { return title_; }
    [[nodiscard]] const std::vector<std::shared_ptr<MenuItem>>& items() const noexcept { return items_; }

    // An item belongs to one menu at a time.
    void addItem(std::shared_ptr<MenuItem> item);
    void removeAllItems();
    // The first item with the tag, or null.
    [[nodiscard]] std::shared_ptr<MenuItem> itemWithTag(long tag) const;

    // Calls `listener` after every change of the items; the number identifies it for removal.
    std::size_t addChangeListener(std::function<void()> listener);
    void removeChangeListener(std::size_t id);

private:
    friend class MenuItem;
    void changed();

    std::string title_;
    std::vector<std::shared_ptr<MenuItem>> items_;
    std::map<std::size_t, std::function<void()>> listeners_;
    std::size_t nextListener_ = 1;
};

}  // namespace appkit
