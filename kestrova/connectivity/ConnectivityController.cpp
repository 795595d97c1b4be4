#include "kestrova/connectivity/ConnectivityController.hpp"

#include "platform/runtime/concurrency/DispatchQueue.hpp"

namespace kestrova {

std::shared_ptr<ConnectivityController> ConnectivityController::make() {
    auto controller = std::make_shared<ConnectivityController>(Token{});
    // The handler can name the controller weakly only once a shared owner exists.
    controller->monitor.setPathUpdateHandler(
        [weak = std::weak_ptr<ConnectivityController>(controller)](const network::Path& path) {
            auto strong = weak.lock();
            if (!strong) {
                return;
            }
            // The block holds the controller; this handler keeps nothing, so the controller never
            // ends on the monitor's queue.
            concurrency::DispatchQueue::main().async([controller = std::move(strong), path] {
                controller->isConnected = path.status == network::Path::Status::satisfied;
            });
        });
    // The monitor keeps the queue; the controller does not.
    controller->monitor.start(concurrency::DispatchQueue("Monitor"));
    return controller;
}

ConnectivityController::ConnectivityController(Token) : isConnected(*this, true) {}

ConnectivityController::~ConnectivityController() {
    monitor.cancel();
}

}  // namespace kestrova
