#pragma once

#include "platform/runtime/combine/AnyCancellable.hpp"
#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/combine/Publisher.hpp"
#include "platform/runtime/combine/SubscriberList.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"

#include <memory>
#include <utility>
#include <vector>

namespace combine {

// A property of an observable object. Every write first tells the owner's objectWillChange, also when
// the value does not change, then stores the value, then hands it to the subscribers of publisher().
// Published state belongs to the main actor: reads and writes are not synchronised, and a write off the
// main thread stops the process.
template <typename T>
class Published {
public:
    Published(ObservableObject& owner, T initial)
        : objectWillChange_(owner.objectWillChange()), state_(std::make_shared<State>(std::move(initial))) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    [[nodiscard]] const T& get() const noexcept { return state_->value; }

    Published& operator=(T value) {
        concurrency::MainActor::preconditionIsolated();
        objectWillChange_.send();
        state_->value = std::move(value);
        state_->subscribers->send(state_->value);
        return *this;
    }

    // A new subscriber gets the current value at once, inside sink(), then every value written after.
    // Subscribing after the property is gone gives nothing.
    [[nodiscard]] Publisher<T> publisher() const {
        return Publisher<T>([weakState = std::weak_ptr<State>(state_)](Receiver<T> receive) {
            const auto state = weakState.lock();
            if (!state) {
                return AnyCancellable();
            }
            auto subscription = state->subscribers->add(receive);
            receive(state->value);
            return subscription;
        });
    }

private:
    friend class Publisher<T>;

    struct State {
        explicit State(T initial) : value(std::move(initial)) {}
        T value;
        std::shared_ptr<SubscriberList<T>> subscribers = std::make_shared<SubscriberList<T>>();
    };

    void keep(AnyCancellable subscription) { assignments_.push_back(std::move(subscription)); }

    PassthroughSubject<void>& objectWillChange_;
    std::shared_ptr<State> state_;
    // Last, so that assignments into this property end before its state goes.
    std::vector<AnyCancellable> assignments_;
};

}  // namespace combine
