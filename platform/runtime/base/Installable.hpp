#pragma once

#include "platform/runtime/base/Verify.hpp"

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace base {

// The one implementation per process of a kit's service: what a desktop session provides (windows,
// a web engine, a tray, audio output, the network monitor) comes from the headless fakes that tests
// drive or from the desktop, and the kit's facades ask installed() for it, so system code never
// knows which one runs. A process installs only the kits it uses.
//
// The service derives from this (`class PathService : public base::Installable<PathService>`) and
// names itself in `static constexpr std::string_view serviceName`, which the faults below quote.
template <typename Service>
class Installable {
public:
    // main() installs the implementation once, before anything uses a facade; it lives until the
    // process ends. Installing a second one, or none, is a fault of main().
    static void install(std::unique_ptr<Service> service) {
        VERIFY(service != nullptr, "install() of " + std::string(Service::serviceName) + " needs an implementation");
        Service* expected = nullptr;
        VERIFY(current_.compare_exchange_strong(expected, service.get()),
               std::string(Service::serviceName) + " is installed already");
        // Never freed: facades may be used until the very end of the process.
        static_cast<void>(service.release());
    }

    // The installed implementation; asking before install() is a fault.
    [[nodiscard]] static Service& installed() {
        Service* service = current_.load(std::memory_order_acquire);
        VERIFY(service != nullptr, "no " + std::string(Service::serviceName) + " is installed: main() installs one first");
        return *service;
    }

protected:
    Installable() = default;
    ~Installable() = default;

private:
    // Written once in main() before other threads start; an atomic so that a thread that reads it
    // later sees the implementation whole.
    static inline std::atomic<Service*> current_{nullptr};
};

// Makes an implementation, installs it in its kit and gives it back to whoever drives it.
template <typename Implementation, typename... Arguments>
Implementation& installNew(Arguments&&... arguments) {
    auto implementation = std::make_unique<Implementation>(std::forward<Arguments>(arguments)...);
    Implementation& installed = *implementation;
    Implementation::install(std::move(implementation));
    return installed;
}

}  // namespace base
