#pragma once

#include "platform/runtime/base/ScopedOverride.hpp"
#include "platform/runtime/foundation/core/DevelopmentCertificate.hpp"

#include <string>
#include <vector>

namespace foundation {

// Makes DevelopmentCertificate answer the certificate at this path, trusted
// for these hosts, for as long as it lives, on every thread, in place of
// KESTROVA_DEV_CERTIFICATE and the hosts the process named (tests). The file
// is read once, here.
class DevelopmentCertificateOverride : public base::ScopedOverride<DevelopmentCertificate, DevelopmentCertificateOverride> {
public:
    DevelopmentCertificateOverride(const std::string& path, std::vector<std::string> hosts)
        : ScopedOverride(DevelopmentCertificate::read(path, std::move(hosts))) {}
};

}  // namespace foundation
