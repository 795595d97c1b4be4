#pragma once

#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/combine/Published.hpp"
#include "platform/kits/network/PathMonitor.hpp"

#include <memory>

namespace kestrova {

// Whether the machine's network can be used, for the views of a window: `isConnected` is true from
// creation until the first path report, then follows whether the last reported path is satisfied. It
// is written only on the main queue, once per report in the order of the reports, also when the value
// does not change; reports arrive on a serial queue labelled "Monitor". Monitoring starts with the
// controller and ends with it; a report that comes after the controller is gone is dropped.
class ConnectivityController final : public combine::ObservableObject,
                                     public std::enable_shared_from_this<ConnectivityController> {
    struct Token {};

public:
    // The path handler refers to the controller weakly, so the controller is shared: a block already
    // posted to the main queue keeps it alive until it has run.
    static std::shared_ptr<ConnectivityController> make();

    explicit ConnectivityController(Token);
    ~ConnectivityController();
    ConnectivityController(const ConnectivityController&) = delete;
    ConnectivityController& operator=(const ConnectivityController&) = delete;

    combine::Published<bool> isConnected;
    network::PathMonitor monitor;
};

}  // namespace kestrova
