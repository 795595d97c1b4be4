#include "platform/backends/headless/HeadlessPathService.hpp"

#include <vector>

namespace headless {

combine::AnyCancellable HeadlessPathService::subscribe(Receiver receiver) {
    auto shared = std::make_shared<Receiver>(std::move(receiver));
    network::Path current;
    std::uint64_t id = 0;
    {
        const std::lock_guard lock(subscribers_->mutex);
        id = subscribers_->next++;
        subscribers_->receivers.emplace(id, shared);
        current = subscribers_->current;
    }
    (*shared)(current);
    return combine::AnyCancellable([weak = std::weak_ptr<Subscribers>(subscribers_), id] {
        if (const auto subscribers = weak.lock()) {
            const std::lock_guard lock(subscribers->mutex);
            subscribers->receivers.erase(id);
        }
    });
}

void HeadlessPathService::post(network::Path path) {
    std::vector<std::shared_ptr<Receiver>> receivers;
    {
        const std::lock_guard lock(subscribers_->mutex);
        subscribers_->current = path;
        for (const auto& [id, receiver] : subscribers_->receivers) {
            receivers.push_back(receiver);
        }
    }
    for (const auto& receiver : receivers) {
        (*receiver)(path);
    }
}

std::size_t HeadlessPathService::subscriberCount() const {
    const std::lock_guard lock(subscribers_->mutex);
    return subscribers_->receivers.size();
}

}  // namespace headless
