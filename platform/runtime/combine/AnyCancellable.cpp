#include "platform/runtime/combine/AnyCancellable.hpp"

#include <utility>

namespace combine {

AnyCancellable::AnyCancellable(AnyCancellable&& other) noexcept : cancel_(std::exchange(other.cancel_, {})) {
}

AnyCancellable& AnyCancellable::operator=(AnyCancellable&& other) noexcept {
    if (this != &other) {
        cancel();
        cancel_ = std::exchange(other.cancel_, {});
    }
    return *this;
}

AnyCancellable::~AnyCancellable() {
    cancel();
}

void AnyCancellable::cancel() noexcept {
    // Taken out first: the cancel action may drop the last reference to whatever owns this object.
    if (auto action = std::exchange(cancel_, {})) {
        action();
    }
}

void AnyCancellable::store(std::vector<AnyCancellable>& cancellables) && {
    cancellables.push_back(std::move(*this));
}

}  // namespace combine
