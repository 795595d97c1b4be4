#pragma once

#include "platform/runtime/combine/AnyCancellable.hpp"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace combine {

// What receives the values of a publisher of T; a publisher of void sends bare signals.
template <typename T>
struct ReceiverOf {
    using type = std::function<void(const T&)>;
};
template <>
struct ReceiverOf<void> {
    using type = std::function<void()>;
};
template <typename T>
using Receiver = typename ReceiverOf<T>::type;

// The current subscribers of a subject. Subscribing, cancelling and sending are thread-safe and may
// happen from inside a receiver: a send delivers to the subscribers of the moment it began, skipping
// those cancelled since, and no receiver is called after its cancel has returned on the thread that
// sends.
template <typename T>
class SubscriberList : public std::enable_shared_from_this<SubscriberList<T>> {
public:
    AnyCancellable add(Receiver<T> receive) {
        auto subscriber = std::make_shared<Subscriber>(std::move(receive));
        {
            const std::lock_guard lock(mutex_);
            subscribers_.push_back(subscriber);
        }
        return AnyCancellable([list = this->weak_from_this(), subscriber] {
            subscriber->active.store(false, std::memory_order_release);
            if (auto owner = list.lock()) {
                owner->remove(*subscriber);
            }
        });
    }

    template <typename... Value>
    void send(const Value&... value) {
        std::vector<std::shared_ptr<Subscriber>> snapshot;
        {
            const std::lock_guard lock(mutex_);
            snapshot = subscribers_;
        }
        for (const auto& subscriber : snapshot) {
            if (subscriber->active.load(std::memory_order_acquire)) {
                subscriber->receive(value...);
            }
        }
    }

private:
    struct Subscriber {
        explicit Subscriber(Receiver<T> receiver) : receive(std::move(receiver)) {}
        std::atomic<bool> active{true};
        Receiver<T> receive;
    };

    void remove(const Subscriber& subscriber) {
        const std::lock_guard lock(mutex_);
        std::erase_if(subscribers_, [&subscriber](const auto& entry) { return entry.get() == &subscriber; });
    }

    std::mutex mutex_;
    std::vector<std::shared_ptr<Subscriber>> subscribers_;
};

}  // namespace combine
