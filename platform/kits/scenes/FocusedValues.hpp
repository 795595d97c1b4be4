#pragma once

#include <any>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

namespace ui {

// The values that the window with the focus offers to the application's commands ("Reload" calls
// the focused window's reload action). A window's views offer them with
// View::focusedSceneValue(key, value); whoever shows the windows replaces the whole set when the
// focus moves or the focused window's views change. Used on the main thread.
class FocusedValues {
public:
    static FocusedValues& shared() {
        static FocusedValues* const values = new FocusedValues;
        return *values;
    }

    // The focused window's value under `key`, when it offers one of that type.
    template <typename T>
    [[nodiscard]] std::optional<T> value(const std::string& key) const {
        const auto found = values_.find(key);
        if (found == values_.end()) {
            return std::nullopt;
        }
        if (const T* value = std::any_cast<T>(&found->second)) {
            return *value;
        }
        return std::nullopt;
    }

    // The focused window's values; empty while no window of the application has the focus.
    void replace(std::map<std::string, std::any> values) {
        values_ = std::move(values);
        // A copy: a listener may remove itself.
        const auto listeners = listeners_;
        for (const auto& [id, listener] : listeners) {
            listener();
        }
    }

    // Calls `listener` after every replacement; the number identifies it for removal.
    std::size_t addChangeListener(std::function<void()> listener) {
        listeners_.emplace(next_, std::move(listener));
        return next_++;
    }
    void removeChangeListener(std::size_t id) { listeners_.erase(id); }

    FocusedValues(const FocusedValues&) = delete;
    FocusedValues& operator=(const FocusedValues&) = delete;

private:
    FocusedValues() = default;

    std::map<std::string, std::any> values_;
    std::map<std::size_t, std::function<void()>> listeners_;
    std::size_t next_ = 1;
};

}  // namespace ui
