#include "platform/backends/desktop/NetworkMonitorPathService.hpp"

#include <gio/gio.h>

#include <map>
#include <mutex>
#include <vector>

namespace desktop {
namespace {

// Behind a captive portal, or with limited connectivity (the connectivity check cannot reach its
// server), there is still a route: a page load reaches the portal, which answers with its sign-in
// page. That page is of more use to the person than the offline screen.
network::Path currentPath(GNetworkMonitor* monitor) {
    if (g_network_monitor_get_network_available(monitor) == FALSE) {
        return {network::Path::Status::unsatisfied};
    }
    return {network::Path::Status::satisfied};
}

}  // namespace

struct NetworkMonitorPathService::State {
    std::mutex mutex;
    std::map<std::uint64_t, std::shared_ptr<Receiver>> receivers;
    std::uint64_t next = 0;
    GNetworkMonitor* monitor = nullptr;  // GIO's, never freed
    gulong handler = 0;

    std::vector<std::shared_ptr<Receiver>> snapshot() {
        const std::lock_guard lock(mutex);
        std::vector<std::shared_ptr<Receiver>> all;
        for (const auto& [id, receiver] : receivers) {
            all.push_back(receiver);
        }
        return all;
    }

    static void onChanged(GNetworkMonitor* monitor, gboolean, gpointer data) {
        const network::Path path = currentPath(monitor);
        for (const auto& receiver : static_cast<State*>(data)->snapshot()) {
            (*receiver)(path);
        }
    }
};

NetworkMonitorPathService::NetworkMonitorPathService() : state_(std::make_shared<State>()) {
    state_->monitor = g_network_monitor_get_default();
    state_->handler = g_signal_connect(state_->monitor, "network-changed", G_CALLBACK(&State::onChanged), state_.get());
}

NetworkMonitorPathService::~NetworkMonitorPathService() {
    g_signal_handler_disconnect(state_->monitor, state_->handler);
}

combine::AnyCancellable NetworkMonitorPathService::subscribe(Receiver receiver) {
    auto shared = std::make_shared<Receiver>(std::move(receiver));
    std::uint64_t id = 0;
    {
        const std::lock_guard lock(state_->mutex);
        id = state_->next++;
        state_->receivers.emplace(id, shared);
    }
    (*shared)(currentPath(state_->monitor));
    return combine::AnyCancellable([weak = std::weak_ptr<State>(state_), id] {
        if (const auto state = weak.lock()) {
            const std::lock_guard lock(state->mutex);
            state->receivers.erase(id);
        }
    });
}

}  // namespace desktop
