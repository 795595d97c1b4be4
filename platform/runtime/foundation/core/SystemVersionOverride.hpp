#pragma once

#include "platform/runtime/base/ScopedOverride.hpp"
#include "platform/runtime/foundation/core/ProcessInfo.hpp"

namespace foundation {

// Makes ProcessInfo answer another system version for as long as it lives, on every thread: tests run
// the branches for older releases with it.
class SystemVersionOverride : public base::ScopedOverride<OperatingSystemVersion, SystemVersionOverride> {
public:
    using ScopedOverride::ScopedOverride;
};

}  // namespace foundation
