#include "tests/platform/foundation/CompletionProbe.hpp"

#include "platform/foundation/URLSession.hpp"

#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <thread>

namespace foundation {
namespace {

// A key and a certificate for 127.0.0.1 that the certificate itself signed
// and no authority vouches for. The name matches, so trust alone is at fault.
class SelfSignedIdentity {
public:
    SelfSignedIdentity() : key_(EVP_EC_gen("P-256")), certificate_(X509_new()) {
        X509_set_version(certificate_, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(certificate_), 1);
        X509_gmtime_adj(X509_getm_notBefore(certificate_), 0);
        X509_gmtime_adj(X509_getm_notAfter(certificate_), 24 * 60 * 60);
        X509_set_pubkey(certificate_, key_);
        X509_NAME* name = X509_get_subject_name(certificate_);
        const auto* commonName = reinterpret_cast<const unsigned char*>("127.0.0.1");
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, commonName, -1, -1, 0);
        X509_set_issuer_name(certificate_, name);
        X509V3_CTX context;
        X509V3_set_ctx_nodb(&context);
        X509V3_set_ctx(&context, certificate_, certificate_, nullptr, nullptr, 0);
        X509_EXTENSION* alternativeName =
            X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, "IP:127.0.0.1");
        X509_add_ext(certificate_, alternativeName, -1);
        X509_EXTENSION_free(alternativeName);
        X509_sign(certificate_, key_, EVP_sha256());
    }
    ~SelfSignedIdentity() {
        X509_free(certificate_);
        EVP_PKEY_free(key_);
    }
    SelfSignedIdentity(const SelfSignedIdentity&) = delete;
    SelfSignedIdentity& operator=(const SelfSignedIdentity&) = delete;

    [[nodiscard]] EVP_PKEY* key() const { return key_; }
    [[nodiscard]] X509* certificate() const { return certificate_; }

private:
    EVP_PKEY* key_;
    X509* certificate_;
};

TEST(URLSessionTLS, RefusesAServerWhoseCertificateNoAuthorityVouchesFor) {
    const SelfSignedIdentity identity;
    httplib::SSLServer server(identity.certificate(), identity.key());
    server.Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("secret", "text/plain");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    ASSERT_GT(port, 0);
    std::thread listener([&server] { server.listen_after_bind(); });
    while (!server.is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    CompletionProbe probe;
    const auto url = URL::fromString("https://127.0.0.1:" + std::to_string(port) + "/");
    URLSession::shared().dataTask(URLRequest(*url), probe.handler())->resume();
    const auto outcome = probe.wait();
    server.stop();
    listener.join();

    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code(), URLError::Code::serverCertificateUntrusted) << outcome.error->what();
    EXPECT_FALSE(outcome.data);
}

}  // namespace
}  // namespace foundation
