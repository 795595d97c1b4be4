#include "platform/backend/Backend.hpp"

#include "platform/base/Verify.hpp"

#include <atomic>

namespace backend {

namespace {

// Written once in main() before other threads start; an atomic so that a
// thread that reads it later sees the backend whole.
std::atomic<Backend*> current{nullptr};

}  // namespace

void Backend::install(std::unique_ptr<Backend> backend) {
    VERIFY(backend != nullptr, "install() needs a backend");
    Backend* expected = nullptr;
    VERIFY(current.compare_exchange_strong(expected, backend.get()), "a backend is installed already");
    // Never freed: facades may be used until the very end of the process.
    static_cast<void>(backend.release());
}

Backend& Backend::installed() {
    Backend* backend = current.load(std::memory_order_acquire);
    VERIFY(backend != nullptr, "no backend is installed: main() installs one first");
    return *backend;
}

}  // namespace backend
