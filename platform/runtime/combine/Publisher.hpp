#pragma once

#include "platform/runtime/combine/AnyCancellable.hpp"
#include "platform/runtime/combine/SubscriberList.hpp"
#include "platform/runtime/concurrency/Executor.hpp"

#include <atomic>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace combine {

template <typename T>
class Published;

// Something that can be subscribed to for values of T (or bare signals, for void). It never fails.
// A publisher is a cheap copyable recipe; each sink makes one subscription.
template <typename T>
class Publisher {
public:
    using Subscribe = std::function<AnyCancellable(Receiver<T>)>;

    explicit Publisher(Subscribe subscribe) : subscribe_(std::move(subscribe)) {}

    // Calls `receive` for every value from now on, on the thread that sends it, until the returned
    // cancellable ends the subscription.
    [[nodiscard]] AnyCancellable sink(Receiver<T> receive) const { return subscribe_(std::move(receive)); }

    // The same values, each delivered later from `executor`'s queue in the order they were sent. A
    // cancel made on the executor's own thread stops every delivery still waiting.
    [[nodiscard]] Publisher receiveOn(concurrency::Executor& executor) const {
        return Publisher([upstream = subscribe_, &executor](Receiver<T> receive) {
            auto delivery = std::make_shared<Delivery>(std::move(receive));
            auto subscription =
                std::make_shared<AnyCancellable>(upstream([delivery, &executor](const auto&... value) {
                    if constexpr (std::is_void_v<T>) {
                        executor.enqueue([delivery] { delivery->deliver(); });
                    } else {
                        executor.enqueue([delivery, copy = T(value...)] { delivery->deliver(copy); });
                    }
                }));
            return AnyCancellable([delivery, subscription] {
                delivery->active.store(false, std::memory_order_release);
                subscription->cancel();
            });
        });
    }

    // Writes every value into `target`; the subscription lasts as long as the property.
    void assign(Published<T>& target) const requires(!std::is_void_v<T>) {
        target.keep(sink([&target](const T& value) { target = value; }));
    }

private:
    struct Delivery {
        explicit Delivery(Receiver<T> receiver) : receive(std::move(receiver)) {}

        template <typename... Value>
        void deliver(const Value&... value) const {
            if (active.load(std::memory_order_acquire)) {
                receive(value...);
            }
        }

        std::atomic<bool> active{true};
        Receiver<T> receive;
    };

    Subscribe subscribe_;
};

}  // namespace combine
