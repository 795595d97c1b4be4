#pragma once

#include "platform/runtime/base/ScopedOverride.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

namespace kestrova {

// Makes apiBaseURL() answer another URL for as long as it lives, on every thread: tests point the
// API client at a server on the loopback interface with it.
class APIBaseURLOverride : public base::ScopedOverride<foundation::URL, APIBaseURLOverride> {
public:
    using ScopedOverride::ScopedOverride;
};

}  // namespace kestrova
