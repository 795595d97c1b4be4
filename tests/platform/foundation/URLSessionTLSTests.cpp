#include "tests/platform/foundation/CompletionProbe.hpp"
#include "tests/platform/foundation/TemporaryFolder.hpp"

#include "platform/foundation/HTTPURLResponse.hpp"
#include "platform/foundation/URLSession.hpp"
#include "tests/support/LoopbackServer.hpp"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

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

// The file of trusted certificates that libcurl reads by default.
std::string systemCertificateFile() {
    CURL* const handle = curl_easy_init();
    const char* path = nullptr;
    curl_easy_getinfo(handle, CURLINFO_CAINFO, &path);
    std::string result = path ? path : "";
    curl_easy_cleanup(handle);
    return result;
}

std::string pemOf(X509* certificate) {
    BIO* const memory = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(memory, certificate);
    char* bytes = nullptr;
    const long length = BIO_get_mem_data(memory, &bytes);
    std::string pem(bytes, static_cast<std::size_t>(length));
    BIO_free(memory);
    return pem;
}

// Makes the system's store trust one certificate alone, for this thread and
// the threads it starts from now on: the thread moves to a private mount
// namespace of its own, where the store's file is covered by one that holds
// that certificate. Nothing outside the thread sees the change, and the
// thread returns to the process's namespace at the end. Needs the right to
// make namespaces (root); unavailable() says why it could not.
class ScopedSystemTrust {
public:
    explicit ScopedSystemTrust(X509* certificate)
        : bundle_(systemCertificateFile()),
          original_(::open("/proc/thread-self/ns/mnt", O_RDONLY | O_CLOEXEC)),
          workingDirectory_(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (bundle_.empty() || original_ < 0 || workingDirectory_ < 0) {
            reason_ = "the store or the namespace cannot be found";
            return;
        }
        // A thread started from here on shares the namespace, and while one
        // outlives the trust the return fails. ThreadSanitizer starts a thread
        // of its own, for good, at the process's first thread: let that be now.
        std::thread([] {}).join();
        if (::unshare(CLONE_NEWNS) != 0) {
            reason_ = std::string("no mount namespace of its own: ") + std::strerror(errno);
            return;
        }
        entered_ = true;
        const auto file = folder_.write("trusted.pem", pemOf(certificate));
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(file.c_str(), bundle_.c_str(), nullptr, MS_BIND, nullptr) != 0) {
            reason_ = std::string("the store cannot be covered: ") + std::strerror(errno);
            return;
        }
        covered_ = true;
    }
    ~ScopedSystemTrust() {
        if (covered_) {
            ::umount2(bundle_.c_str(), MNT_DETACH);
        }
        // Entering a namespace also moves to its root directory.
        if (entered_ && (::setns(original_, CLONE_NEWNS) != 0 || ::fchdir(workingDirectory_) != 0)) {
            std::terminate();
        }
        ::close(original_);
        ::close(workingDirectory_);
    }
    ScopedSystemTrust(const ScopedSystemTrust&) = delete;
    ScopedSystemTrust& operator=(const ScopedSystemTrust&) = delete;

    [[nodiscard]] const std::optional<std::string>& unavailable() const { return reason_; }

private:
    TemporaryFolder folder_;
    std::string bundle_;
    int original_;
    int workingDirectory_;
    bool entered_ = false;
    bool covered_ = false;
    std::optional<std::string> reason_;
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
    probe.dataTask(URLSession::shared(), URLRequest(*url))->resume();
    const auto outcome = probe.wait();
    server.stop();
    listener.join();

    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code(), URLError::Code::serverCertificateUntrusted) << outcome.error->what();
    EXPECT_FALSE(outcome.data);
}


// A 307 or 308 sends the body again, here a private entry; after an
// encrypted start it must never go out in clear text, nor anything else.
TEST(URLSessionTLS, FollowsRedirectsFromHTTPSToHTTPSOnly) {
    const SelfSignedIdentity identity;
    const ScopedSystemTrust trust(identity.certificate());
    if (trust.unavailable()) {
        GTEST_SKIP() << *trust.unavailable();
    }
    testsupport::LoopbackServer plain;
    plain.reply("GET", "/landing", {.status = 200});
    plain.reply("POST", "/landing", {.status = 200});
    httplib::SSLServer secure(identity.certificate(), identity.key());
    // A kept-alive connection would hold up the server's stop.
    secure.set_keep_alive_max_count(1);
    const int port = secure.bind_to_any_port("127.0.0.1");
    ASSERT_GT(port, 0);
    const std::string secureBase = "https://127.0.0.1:" + std::to_string(port);
    plain.reply("POST", "/up", testsupport::Reply::redirect(307, secureBase + "/landing"));
    // "/redirect/<status>/<scheme>" answers with that status towards the landing of that scheme.
    const auto redirect = [&](const httplib::Request& request, httplib::Response& response) {
        response.status = std::stoi(request.matches[1]);
        const std::string base = request.matches[2] == "http" ? plain.url("") : secureBase;
        response.set_header("Location", base + "/landing");
    };
    const auto landing = [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.method + " " + request.body, "text/plain");
    };
    secure.Get(R"(/redirect/(\d+)/(https?))", redirect);
    secure.Post(R"(/redirect/(\d+)/(https?))", redirect);
    secure.Get("/landing", landing);
    secure.Post("/landing", landing);
    std::thread listener([&secure] { secure.listen_after_bind(); });
    while (!secure.is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    const TemporaryFolder folder;
    const auto form = *URL::fromString("file://" + folder.write("form.tmp", "--B\r\nprivate entry").string());
    struct Case {
        std::string url;
        std::string method;
        bool fromFile;
        // The landing's echo of method and body, or the error when the redirect is refused.
        std::optional<std::string> landed;
    };
    const auto refused = std::nullopt;
    const Case cases[] = {
        {secureBase + "/redirect/307/http", "POST", false, refused},
        {secureBase + "/redirect/308/http", "POST", true, refused},
        {secureBase + "/redirect/302/http", "GET", false, refused},
        {secureBase + "/redirect/301/http", "POST", false, refused},
        {secureBase + "/redirect/307/https", "POST", false, "POST {\"private\":true}"},
        {secureBase + "/redirect/308/https", "POST", true, "POST --B\r\nprivate entry"},
        {secureBase + "/redirect/302/https", "GET", false, "GET "},
        // Leaving clear text for an encrypted connection is no risk.
        {plain.url("/up"), "POST", false, "POST {\"private\":true}"},
    };
    // Made after the trust, so that its thread sees the store the trust made.
    URLSession session;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url + (c.fromFile ? " from a file" : ""));
        URLRequest request(*URL::fromString(c.url));
        request.setHTTPMethod(c.method);
        request.addValue("token=secret", "Cookie");
        if (c.method == "POST") {
            request.setHTTPBody(Data(R"({"private":true})"));
        }
        CompletionProbe probe;
        if (c.fromFile) {
            probe.uploadTask(session, request, form)->resume();
        } else {
            probe.dataTask(session, request)->resume();
        }
        const auto outcome = probe.wait();
        if (c.landed) {
            ASSERT_FALSE(outcome.error) << outcome.error->what();
            EXPECT_EQ(outcome.data->view(), *c.landed);
            EXPECT_EQ(outcome.response->url().absoluteString(), secureBase + "/landing");
        } else {
            ASSERT_TRUE(outcome.error);
            EXPECT_EQ(outcome.error->code(), URLError::Code::appTransportSecurityRequiresSecureConnection)
                << outcome.error->what();
            EXPECT_FALSE(outcome.response);
        }
    }
    secure.stop();
    listener.join();
    ASSERT_EQ(plain.requests().size(), 1u);
    EXPECT_EQ(plain.requests()[0].path, "/up");
}

}  // namespace
}  // namespace foundation
