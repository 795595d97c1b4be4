#include "tests/support/TLSIdentity.hpp"

#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <atomic>
#include <stdexcept>

namespace testsupport {
namespace {

// Certificates of one issuer that share a serial number look alike to TLS
// libraries.
long nextSerial() {
    static std::atomic<long> serial{1};
    return serial++;
}

void addExtension(X509* certificate, X509* issuer, int nid, const std::string& value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
    if (extension == nullptr || X509_add_ext(certificate, extension, -1) != 1) {
        throw std::runtime_error("OpenSSL refused the extension " + value);
    }
    X509_EXTENSION_free(extension);
}

}  // namespace

TLSIdentity::TLSIdentity(const Options& options) : key_(EVP_EC_gen("P-256")), certificate_(X509_new()) {
    X509* const issuer = options.issuer != nullptr ? options.issuer->certificate() : certificate_;
    EVP_PKEY* const signingKey = options.issuer != nullptr ? options.issuer->key() : key_;
    X509_set_version(certificate_, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate_), nextSerial());
    X509_gmtime_adj(X509_getm_notBefore(certificate_), -60);
    X509_gmtime_adj(X509_getm_notAfter(certificate_), 24 * 60 * 60);
    X509_set_pubkey(certificate_, key_);
    X509_NAME* name = X509_get_subject_name(certificate_);
    const auto commonName = "Test " + std::to_string(ASN1_INTEGER_get(X509_get_serialNumber(certificate_)));
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName.c_str()),
                               -1, -1, 0);
    X509_set_issuer_name(certificate_, X509_get_subject_name(issuer));
    if (!options.alternativeNames.empty()) {
        addExtension(certificate_, issuer, NID_subject_alt_name, options.alternativeNames);
    }
    if (!options.basicConstraints.empty()) {
        addExtension(certificate_, issuer, NID_basic_constraints, options.basicConstraints);
    }
    if (!options.keyUsage.empty()) {
        addExtension(certificate_, issuer, NID_key_usage, options.keyUsage);
    }
    if (X509_sign(certificate_, signingKey, EVP_sha256()) == 0) {
        throw std::runtime_error("OpenSSL could not sign the certificate");
    }
}

TLSIdentity::~TLSIdentity() {
    X509_free(certificate_);
    EVP_PKEY_free(key_);
}

std::string TLSIdentity::pem() const {
    BIO* const memory = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(memory, certificate_);
    char* bytes = nullptr;
    const long length = BIO_get_mem_data(memory, &bytes);
    std::string text(bytes, static_cast<std::size_t>(length));
    BIO_free(memory);
    return text;
}

}  // namespace testsupport
