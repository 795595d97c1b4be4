#include "tools/standin/Certificate.hpp"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <stdexcept>
#include <unistd.h>

namespace standin {
namespace {

// Long enough not to expire during a project's life on a developer's machine,
// short enough for the libraries that refuse very long validity.
constexpr long validDays = 825;

template <typename T, void (*Free)(T*)>
struct Freer {
    void operator()(T* value) const { Free(value); }
};
using KeyPointer = std::unique_ptr<EVP_PKEY, Freer<EVP_PKEY, EVP_PKEY_free>>;
using CertificatePointer = std::unique_ptr<X509, Freer<X509, X509_free>>;
using ExtensionPointer = std::unique_ptr<X509_EXTENSION, Freer<X509_EXTENSION, X509_EXTENSION_free>>;

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("cannot make the stand-in's certificate: " + what);
}

void addExtension(X509* certificate, int nid, const std::string& value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    ExtensionPointer extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
    if (!extension || X509_add_ext(certificate, extension.get(), -1) != 1) {
        fail("the extension " + value + " was refused");
    }
}

CertificatePointer makeCertificate(EVP_PKEY* key, const std::vector<std::string>& hostNames) {
    CertificatePointer certificate(X509_new());
    X509_set_version(certificate.get(), 2);
    // A serial of its own per certificate, so that a remade one is never
    // mistaken for the one it replaces.
    ASN1_INTEGER_set_int64(X509_get_serialNumber(certificate.get()), static_cast<std::int64_t>(::time(nullptr)));
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -60);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), validDays * 24 * 60 * 60);
    X509_set_pubkey(certificate.get(), key);
    X509_NAME* name = X509_get_subject_name(certificate.get());
    const auto* commonName = reinterpret_cast<const unsigned char*>("Kestrova stand-in");
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8, commonName, -1, -1, 0);
    X509_set_issuer_name(certificate.get(), name);

    std::string alternativeNames;
    for (const auto& host : hostNames) {
        alternativeNames += (alternativeNames.empty() ? "DNS:" : ",DNS:") + host;
    }
    addExtension(certificate.get(), NID_subject_alt_name, alternativeNames);
    addExtension(certificate.get(), NID_basic_constraints, "critical,CA:FALSE");
    addExtension(certificate.get(), NID_key_usage, "critical,digitalSignature");
    addExtension(certificate.get(), NID_ext_key_usage, "serverAuth");
    addExtension(certificate.get(), NID_subject_key_identifier, "hash");
    if (X509_sign(certificate.get(), key, EVP_sha256()) == 0) {
        fail("signing failed");
    }
    return certificate;
}

// Writes through a new file made with the mode, then renames it into place,
// so that an interrupted run leaves no half-written file under the real name.
template <typename Write>
void writeFile(const std::filesystem::path& path, mode_t mode, Write write) {
    const auto partial = path.string() + ".partial";
    ::unlink(partial.c_str());
    const int descriptor = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor < 0) {
        fail(partial + ": " + std::strerror(errno));
    }
    FILE* file = ::fdopen(descriptor, "w");
    const bool written = file != nullptr && write(file) == 1;
    const bool closed = file != nullptr ? std::fclose(file) == 0 : ::close(descriptor) == 0;
    if (!written || !closed || std::rename(partial.c_str(), path.c_str()) != 0) {
        ::unlink(partial.c_str());
        fail(path.string() + ": the file could not be written");
    }
}

CertificatePointer readCertificate(const std::filesystem::path& path) {
    FILE* file = std::fopen(path.c_str(), "re");
    if (file == nullptr) {
        return nullptr;
    }
    CertificatePointer certificate(PEM_read_X509(file, nullptr, nullptr, nullptr));
    std::fclose(file);
    return certificate;
}

// Why the stored certificate cannot serve the names, or none when it can.
// A stand-in that now serves more names than the one that made it would
// otherwise present a certificate that clients refuse for the new ones.
std::optional<std::string> faultOfStoredCertificate(const std::filesystem::path& path,
                                                    const std::vector<std::string>& hostNames) {
    const auto certificate = readCertificate(path);
    if (!certificate) {
        return "cannot be read";
    }
    std::string missing;
    for (const auto& host : hostNames) {
        if (X509_check_host(certificate.get(), host.data(), host.size(),
                            X509_CHECK_FLAG_NEVER_CHECK_SUBJECT | X509_CHECK_FLAG_NO_WILDCARDS, nullptr) != 1) {
            missing += (missing.empty() ? "" : ", ") + host;
        }
    }
    if (missing.empty()) {
        return std::nullopt;
    }
    return "does not cover " + missing;
}

}  // namespace

Certificate Certificate::ensure(const std::filesystem::path& stateDirectory,
                                const std::vector<std::string>& hostNames) {
    Certificate pair{stateDirectory / "certificate.pem", stateDirectory / "key.pem"};
    if (std::filesystem::exists(pair.certificateFile) && std::filesystem::exists(pair.keyFile)) {
        const auto fault = faultOfStoredCertificate(pair.certificateFile, hostNames);
        if (!fault) {
            return pair;
        }
        std::fprintf(stderr, "kestrova-standin: the certificate %s %s; making a new one and its key\n",
                     pair.certificateFile.c_str(), fault->c_str());
    }
    KeyPointer key(EVP_EC_gen("P-256"));
    if (!key) {
        fail("no key could be generated");
    }
    const auto certificate = makeCertificate(key.get(), hostNames);
    writeFile(pair.keyFile, 0600, [&](FILE* file) {
        return PEM_write_PrivateKey(file, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    });
    writeFile(pair.certificateFile, 0644, [&](FILE* file) { return PEM_write_X509(file, certificate.get()); });
    return pair;
}

}  // namespace standin
