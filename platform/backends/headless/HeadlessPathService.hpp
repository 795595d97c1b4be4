#pragma once

#include "platform/kits/network/PathService.hpp"

#include <map>
#include <memory>
#include <mutex>

namespace headless {

// A network whose state the test sets. Subscribers hear the current path when they subscribe (a
// satisfied one until a test posts another), then every posted path, on the posting thread.
class HeadlessPathService final : public network::PathService {
public:
    [[nodiscard]] combine::AnyCancellable subscribe(Receiver receiver) override;

    // Makes the path current and reports it to every subscriber, also when it did not change.
    void post(network::Path path);

    [[nodiscard]] std::size_t subscriberCount() const;

private:
    struct Subscribers {
        mutable std::mutex mutex;
        network::Path current;
        std::map<std::uint64_t, std::shared_ptr<Receiver>> receivers;
        std::uint64_t next = 0;
    };
    std::shared_ptr<Subscribers> subscribers_ = std::make_shared<Subscribers>();
};

}  // namespace headless
