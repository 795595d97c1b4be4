#pragma once

#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/foundation/defaults/DefaultsValue.hpp"
#include "platform/runtime/foundation/defaults/UserDefaults.hpp"
#include "platform/runtime/foundation/defaults/UserDefaultsError.hpp"
#include "platform/kits/ui/Binding.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ui {

// The stored value read as a Boolean or a number: Booleans and numbers convert into each other; text
// and data are no setting of these kinds.
std::optional<bool> storedBool(const foundation::DefaultsValue& value);
std::optional<double> storedDouble(const foundation::DefaultsValue& value);

// Says on standard error that the setting under `key` cannot be read and reads as its default, with
// the suite's reason; only the first time for each key in this process, since settings are read on
// every redraw.
void reportUnreadableSetting(std::string_view key, const foundation::UserDefaultsError& error);

// What `read` gives, or `defaultValue` when the suite cannot be read (reported as above). Settings are
// read from the toolkit's callbacks, where an exception would end the program; a suite that works
// again reads as stored again.
template <typename T, typename Read>
[[nodiscard]] T settingOrDefault(std::string_view key, T defaultValue, Read&& read) {
    try {
        return std::forward<Read>(read)();
    } catch (const foundation::UserDefaultsError& error) {
        reportUnreadableSetting(key, error);
        return defaultValue;
    }
}

// A setting of an observable object that lives in a defaults suite under a key. Reading goes to the
// suite every time, so a value written by another process or another handle is seen at once; an
// absent key (or a value of a kind the setting cannot read, or a suite that cannot be read) reads as
// the default, which is never written by itself. Assigning tells the owner's observers first, then
// stores the value at once. Used on the main thread.
template <typename T>
class AppStorage {
public:
    AppStorage(combine::ObservableObject& owner, foundation::UserDefaults& store, std::string key, T defaultValue)
        : objectWillChange_(owner.objectWillChange()),
          store_(store),
          key_(std::move(key)),
          defaultValue_(std::move(defaultValue)) {}
    AppStorage(const AppStorage&) = delete;
    AppStorage& operator=(const AppStorage&) = delete;

    [[nodiscard]] T get() const {
        const auto stored = settingOrDefault(key_, std::optional<foundation::DefaultsValue>(),
                                             [this] { return store_.object(key_); });
        if (!stored) {
            return defaultValue_;
        }
        if constexpr (std::is_same_v<T, bool>) {
            return storedBool(*stored).value_or(defaultValue_);
        } else {
            static_assert(std::is_same_v<T, double>, "settings are Booleans or numbers");
            return storedDouble(*stored).value_or(defaultValue_);
        }
    }

    // Throws UserDefaultsError when the suite cannot be written; the stored value stays then.
    AppStorage& operator=(T value) {
        concurrency::MainActor::preconditionIsolated();
        objectWillChange_.send();
        store_.set(foundation::DefaultsValue(value), key_);
        return *this;
    }

    // The projected value: reads and writes this setting.
    [[nodiscard]] Binding<T> binding() {
        return Binding<T>([this] { return get(); }, [this](T value) { *this = std::move(value); });
    }

    [[nodiscard]] const std::string& key() const noexcept { return key_; }

private:
    combine::PassthroughSubject<void>& objectWillChange_;
    foundation::UserDefaults& store_;
    std::string key_;
    T defaultValue_;
};

}  // namespace ui
