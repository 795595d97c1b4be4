#include "platform/runtime/foundation/core/DevelopmentCertificate.hpp"

#include "platform/runtime/foundation/core/DevelopmentCertificateOverride.hpp"
#include "platform/runtime/foundation/core/internal/CertificateFields.hpp"

#include <gio/gio.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <utility>

namespace foundation {
namespace {

[[noreturn]] void stop(const std::string& path, const std::string& reason) {
    std::fprintf(stderr, "kestrova: KESTROVA_DEV_CERTIFICATE is set to \"%s\", %s\n", path.c_str(), reason.c_str());
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

// The hosts the process named, which the certificate of the variable is trusted for.
struct NamedHosts {
    std::mutex mutex;
    std::vector<std::string> hosts;
};

NamedHosts& namedHosts() {
    static NamedHosts named;
    return named;
}

// A file that cannot be used would otherwise show only as TLS failures,
// later and far from their cause.
void checkIsReadableFile(const std::string& path) {
    const std::ifstream in(path, std::ios::binary);
    if (!in) {
        stop(path, std::string("which cannot be read: ") + std::strerror(errno));
    }
    std::error_code fault;
    if (!std::filesystem::is_regular_file(path, fault)) {
        stop(path, "which is no file");
    }
}

// The one certificate in the file, parsed by GIO's TLS backend.
GTlsCertificate* onlyCertificateIn(const std::string& path) {
    GError* error = nullptr;
    GList* certificates = g_tls_certificate_list_new_from_file(path.c_str(), &error);
    if (error != nullptr) {
        const std::string reason = std::string("which holds a certificate that cannot be read: ") + error->message;
        g_error_free(error);
        stop(path, reason);
    }
    const guint count = g_list_length(certificates);
    if (count == 0) {
        stop(path, "which holds no PEM certificate");
    }
    if (count > 1) {
        g_list_free_full(certificates, g_object_unref);
        // Each would be trusted, and the file should name one server alone.
        stop(path, "which holds " + std::to_string(count) +
                       " certificates; it must hold the development server's certificate alone");
    }
    auto* certificate = static_cast<GTlsCertificate*>(certificates->data);
    g_list_free(certificates);
    return certificate;
}

std::string pemOf(GTlsCertificate* certificate) {
    gchar* text = nullptr;
    g_object_get(certificate, "certificate-pem", &text, nullptr);
    std::string pem = text != nullptr ? text : "";
    g_free(text);
    return pem;
}

std::string derOf(GTlsCertificate* certificate) {
    GByteArray* bytes = nullptr;
    g_object_get(certificate, "certificate", &bytes, nullptr);
    std::string der = bytes != nullptr ? std::string(reinterpret_cast<const char*>(bytes->data), bytes->len) : "";
    if (bytes != nullptr) {
        g_byte_array_unref(bytes);
    }
    return der;
}

std::string publicKeyPinOf(std::string_view subjectPublicKeyInfo) {
    GChecksum* checksum = g_checksum_new(G_CHECKSUM_SHA256);
    g_checksum_update(checksum, reinterpret_cast<const guchar*>(subjectPublicKeyInfo.data()),
                      static_cast<gssize>(subjectPublicKeyInfo.size()));
    guint8 digest[32];
    gsize length = sizeof digest;
    g_checksum_get_digest(checksum, digest, &length);
    g_checksum_free(checksum);
    gchar* base64 = g_base64_encode(digest, length);
    std::string pin = std::string("sha256//") + base64;
    g_free(base64);
    return pin;
}

}  // namespace

DevelopmentCertificate::DevelopmentCertificate(std::string path, std::string pem, std::string publicKeyPin,
                                               std::vector<std::string> hosts)
    : path_(std::move(path)), pem_(std::move(pem)), publicKeyPin_(std::move(publicKeyPin)), hosts_(std::move(hosts)) {}

void DevelopmentCertificate::limitToHosts(std::vector<std::string> hosts) {
    auto& named = namedHosts();
    const std::lock_guard lock(named.mutex);
    named.hosts = std::move(hosts);
}

DevelopmentCertificate DevelopmentCertificate::read(const std::string& path, std::vector<std::string> hosts) {
    checkIsReadableFile(path);
    GTlsCertificate* certificate = onlyCertificateIn(path);
    std::string pem = pemOf(certificate);
    const std::string der = derOf(certificate);
    g_object_unref(certificate);
    const auto fields = CertificateFields::read(der);
    if (!fields) {
        stop(path, "which holds a certificate that cannot be read");
    }
    if (fields->isAuthority) {
        stop(path, "which holds the certificate of an authority (CA:TRUE), able to vouch for any certificate it "
                   "signs; it must hold the development server's own certificate");
    }
    return DevelopmentCertificate(path, std::move(pem), publicKeyPinOf(fields->subjectPublicKeyInfo), std::move(hosts));
}

std::optional<DevelopmentCertificate> DevelopmentCertificate::current() {
    if (auto chosen = DevelopmentCertificateOverride::current()) {
        return chosen;
    }
    static const std::optional<DevelopmentCertificate> fromEnvironment = []() -> std::optional<DevelopmentCertificate> {
        const char* value = std::getenv("KESTROVA_DEV_CERTIFICATE");
        if (value == nullptr || *value == '\0') {
            return std::nullopt;
        }
        return read(value, {});
    }();
    if (!fromEnvironment) {
        return std::nullopt;
    }
    auto certificate = *fromEnvironment;
    auto& named = namedHosts();
    const std::lock_guard lock(named.mutex);
    certificate.hosts_ = named.hosts;
    return certificate;
}

bool DevelopmentCertificate::isTrustedFor(std::string_view host) const {
    return std::ranges::any_of(hosts_, [host](const std::string& trusted) {
        return trusted.size() == host.size() && g_ascii_strncasecmp(trusted.data(), host.data(), host.size()) == 0;
    });
}

}  // namespace foundation
