#pragma once

#include "platform/network/PathService.hpp"

#include <memory>

namespace desktop {

// The machine's network as GIO's network monitor sees it (NetworkManager when it runs, the kernel's
// routes otherwise): no network is unsatisfied, a captive portal requires a connection, anything else
// with a route is satisfied. Changes arrive through the default main context.
class NetworkMonitorPathService final : public network::PathService {
public:
    NetworkMonitorPathService();
    ~NetworkMonitorPathService() override;

    [[nodiscard]] combine::AnyCancellable subscribe(Receiver receiver) override;

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace desktop
