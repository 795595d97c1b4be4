#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <string>

namespace testsupport {

// A key and an X.509 certificate made for a test: self-signed or signed by
// another identity, valid for a day from now.
//
//     const TLSIdentity authority({.alternativeNames = "DNS:Test authority",
//                                  .basicConstraints = "critical,CA:TRUE", .keyUsage = "critical,keyCertSign"});
//     const TLSIdentity bank({.alternativeNames = "DNS:bank.localhost", .issuer = &authority});
class TLSIdentity {
public:
    struct Options {
        // As OpenSSL's configuration writes them: "DNS:api.example,DNS:example", "IP:127.0.0.1".
        std::string alternativeNames{};
        // The extensions' values as OpenSSL's configuration writes them; empty leaves one out.
        std::string basicConstraints = "critical,CA:FALSE";
        std::string keyUsage = "critical,digitalSignature";
        // None: the certificate signs itself.
        const TLSIdentity* issuer = nullptr;
    };

    explicit TLSIdentity(const Options& options);
    ~TLSIdentity();
    TLSIdentity(const TLSIdentity&) = delete;
    TLSIdentity& operator=(const TLSIdentity&) = delete;

    [[nodiscard]] EVP_PKEY* key() const noexcept { return key_; }
    [[nodiscard]] X509* certificate() const noexcept { return certificate_; }
    [[nodiscard]] std::string pem() const;

private:
    EVP_PKEY* key_;
    X509* certificate_;
};

}  // namespace testsupport
