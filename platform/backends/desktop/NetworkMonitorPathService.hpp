#pragma once

#include "platform/kits/network/PathService.hpp"

#include <memory>

namespace desktop {

// The machine's network as GIO's network monitor sees it (NetworkManager when it runs, the kernel's
// routes otherwise): no route is unsatisfied, any route is satisfied, behind a captive portal or with
// limited connectivity too. Changes arrive through the default main context.
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
