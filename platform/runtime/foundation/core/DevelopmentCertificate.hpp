#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// The development setting KESTROVA_DEV_CERTIFICATE: the path of the PEM
// certificate of a development server of the service (the local stand-in).
// The URL session, the HTTP client library and the web engine trust it for
// the service's own hosts, and there only when the server presents that very
// certificate; every other host is verified against the system's authorities
// alone, as without the setting. Verification stays on everywhere.
class DevelopmentCertificate {
public:
    // Names the hosts the certificate is trusted for: the service's, which
    // only the system's code knows. Until a process names them the
    // certificate is trusted for no host. Called at the start of main,
    // before the first connection.
    static void limitToHosts(std::vector<std::string> hosts);

    // The certificate in force, or none when the variable is not set (or is
    // empty). A DevelopmentCertificateOverride in force comes first; the
    // variable is read once, at the first call.
    [[nodiscard]] static std::optional<DevelopmentCertificate> current();

    // The certificate in the file, trusted for the hosts. A file that is
    // unreadable, holds no certificate or more than one, or holds the
    // certificate of an authority (CA:TRUE), which would vouch for any
    // certificate it signed, stops the process with a message that names the
    // variable, the path and the reason.
    [[nodiscard]] static DevelopmentCertificate read(const std::string& path, std::vector<std::string> hosts);

    [[nodiscard]] const std::string& path() const noexcept { return path_; }
    // The certificate alone, as PEM: what a TLS library is given to trust,
    // rather than the file, which could hold more.
    [[nodiscard]] const std::string& pem() const noexcept { return pem_; }
    // "sha256//" and the Base64 of the SHA-256 digest of the certificate's
    // subjectPublicKeyInfo: libcurl's form of a pinned public key.
    [[nodiscard]] const std::string& publicKeyPin() const noexcept { return publicKeyPin_; }
    [[nodiscard]] const std::vector<std::string>& hosts() const noexcept { return hosts_; }
    // Whether a connection to the host, as a URL writes it, may trust the
    // certificate: the host is one of its hosts, in any letter case.
    [[nodiscard]] bool isTrustedFor(std::string_view host) const;

private:
    DevelopmentCertificate(std::string path, std::string pem, std::string publicKeyPin, std::vector<std::string> hosts);

    std::string path_;
    std::string pem_;
    std::string publicKeyPin_;
    std::vector<std::string> hosts_;
};

}  // namespace foundation
