#pragma once

#include "platform/runtime/base/Installable.hpp"
#include "platform/runtime/combine/AnyCancellable.hpp"
#include "platform/kits/network/NetworkPath.hpp"

#include <functional>
#include <string_view>

namespace network {

// Where the installed backend learns the state of the machine's network.
class PathService : public base::Installable<PathService> {
public:
    static constexpr std::string_view serviceName = "network::PathService";

    using Receiver = std::function<void(const Path&)>;

    virtual ~PathService() = default;

    // Calls `receiver` with the current path soon after subscribing, then with every later report,
    // from any thread, until the subscription is cancelled.
    [[nodiscard]] virtual combine::AnyCancellable subscribe(Receiver receiver) = 0;

protected:
    PathService() = default;
};

}  // namespace network
