#pragma once

#include "platform/base/ScopedOverride.hpp"

#include <string>

namespace foundation {

// Makes DevelopmentCertificate answer this path for as long as it lives, on
// every thread, in place of KESTROVA_DEV_CERTIFICATE (tests).
class DevelopmentCertificateOverride : public base::ScopedOverride<std::string, DevelopmentCertificateOverride> {
public:
    using ScopedOverride::ScopedOverride;
};

}  // namespace foundation
