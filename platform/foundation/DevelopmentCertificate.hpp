#pragma once

#include <optional>
#include <string>

namespace foundation {

// The development setting KESTROVA_DEV_CERTIFICATE: the path of a PEM
// certificate that every TLS connection of the process trusts besides the
// system's authorities (the URL session, the HTTP client library and the web
// engine), so that a build for the local stand-in of the service can talk to
// it while verification stays on everywhere.
class DevelopmentCertificate {
public:
    // The certificate's path, or none when the variable is not set (or is
    // empty). A DevelopmentCertificateOverride in force comes first; the
    // variable is read once, at the first call. A path that names no
    // readable PEM certificate stops the process with a message that names
    // the variable and the path.
    [[nodiscard]] static std::optional<std::string> path();
};

}  // namespace foundation
