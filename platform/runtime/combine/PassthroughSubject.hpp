#pragma once

#include "platform/runtime/combine/Publisher.hpp"
#include "platform/runtime/combine/SubscriberList.hpp"

#include <memory>
#include <type_traits>

namespace combine {

// A publisher that hands each value sent into it to its subscribers of the moment, on the sending
// thread; it keeps no value, so a new subscriber sees only what is sent after it subscribed. Sending
// and subscribing are thread-safe (see SubscriberList).
template <typename T>
class PassthroughSubject : public Publisher<T> {
public:
    PassthroughSubject() : PassthroughSubject(std::make_shared<SubscriberList<T>>()) {}

    void send() const requires std::is_void_v<T> { subscribers_->send(); }

    template <typename Value = T>
        requires(!std::is_void_v<Value>)
    void send(const std::type_identity_t<Value>& value) const {
        subscribers_->send(value);
    }

private:
    explicit PassthroughSubject(std::shared_ptr<SubscriberList<T>> subscribers)
        : Publisher<T>([subscribers](Receiver<T> receive) { return subscribers->add(std::move(receive)); }),
          subscribers_(std::move(subscribers)) {}

    std::shared_ptr<SubscriberList<T>> subscribers_;
};

}  // namespace combine
