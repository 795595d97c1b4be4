#pragma once

#include <optional>
#include <string_view>

namespace foundation {

// The two fields of an X.509 certificate (RFC 5280) that the development
// setting needs, read from the certificate's DER encoding. GIO parses
// certificates but tells neither.
struct CertificateFields {
    // The subjectPublicKeyInfo as encoded, a view into the bytes read: what a
    // pinned public key is the digest of.
    std::string_view subjectPublicKeyInfo;
    // basicConstraints says CA:TRUE: the certificate may vouch for others.
    bool isAuthority = false;

    // None when the bytes are no DER certificate.
    [[nodiscard]] static std::optional<CertificateFields> read(std::string_view der);
};

}  // namespace foundation
