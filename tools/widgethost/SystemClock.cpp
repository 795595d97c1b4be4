#include "tools/widgethost/Clock.hpp"

#include "platform/runtime/concurrency/MainActor.hpp"

#include <chrono>
#include <memory>

namespace widgethost {
namespace {

class SystemClock final : public Clock {
public:
    ~SystemClock() override { pending_.cancel(); }

    [[nodiscard]] foundation::Date now() const override { return foundation::Date::now(); }

    void wakeAt(foundation::Date date, std::function<void()> due) override {
        pending_.cancel();
        const double seconds = date.timeIntervalSinceReferenceDate() - now().timeIntervalSinceReferenceDate();
        const auto delay = std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::duration<double>(seconds > 0 ? seconds : 0));
        pending_ = concurrency::MainActor::shared().enqueueAfter(delay, std::move(due));
    }

private:
    concurrency::DelayedJob pending_;
};

}  // namespace

std::unique_ptr<Clock> makeSystemClock() {
    return std::make_unique<SystemClock>();
}

}  // namespace widgethost
