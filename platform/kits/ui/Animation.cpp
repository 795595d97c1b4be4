#include "platform/kits/ui/Animation.hpp"

#include <algorithm>
#include <cmath>

namespace ui {

double Animation::duration() const noexcept {
    if (curve_ != Curve::spring) {
        return duration_;
    }
    // A damped spring is taken as at rest once its envelope is below 0.1 %.
    const double omega = 2 * M_PI / std::max(duration_, 0.01);
    const double zeta = std::clamp(dampingFraction_, 0.05, 1.0);
    return std::log(1000.0) / (zeta * omega);
}

double Animation::progress(double elapsed) const noexcept {
    const double total = duration();
    if (elapsed <= 0 || total <= 0) {
        return elapsed <= 0 ? 0.0 : 1.0;
    }
    if (elapsed >= total) {
        return 1.0;
    }
    const double t = elapsed / total;
    switch (curve_) {
    case Curve::linear:
        return t;
    case Curve::easeInOut:
        return t * t * (3 - 2 * t);
    case Curve::spring: {
        const double omega = 2 * M_PI / std::max(duration_, 0.01);
        const double zeta = std::clamp(dampingFraction_, 0.05, 1.0);
        if (zeta >= 1.0) {
            return 1 - (1 + omega * elapsed) * std::exp(-omega * elapsed);
        }
        const double damped = omega * std::sqrt(1 - zeta * zeta);
        const double envelope = std::exp(-zeta * omega * elapsed);
        return 1 - envelope * (std::cos(damped * elapsed) + zeta * omega / damped * std::sin(damped * elapsed));
    }
    }
    return 1.0;
}

}  // namespace ui
