#include "tests/platform/runtime/foundation/CompletionProbe.hpp"
#include "tests/platform/runtime/foundation/TemporaryFolder.hpp"

#include "platform/runtime/foundation/http/HTTPURLResponse.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "tests/support/LoopbackServer.hpp"
#include "tests/support/TLSIdentity.hpp"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <httplib.h>

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

using testsupport::TLSIdentity;

// A certificate for 127.0.0.1 that signed itself and that no authority
// vouches for. The name matches, so trust alone is at fault.
TLSIdentity selfSignedIdentity() {
    return TLSIdentity({.alternativeNames = "IP:127.0.0.1"});
}

// The file of trusted certificates that libcurl reads by default.
std::string systemCertificateFile() {
    CURL* const handle = curl_easy_init();
    const char* path = nullptr;
    curl_easy_getinfo(handle, CURLINFO_CAINFO, &path);
    std::string result = path ? path : "";
    curl_easy_cleanup(handle);
    return result;
}

// Makes the system's store trust one certificate alone, for this thread and
// the threads it starts from now on: the thread moves to a private mount
// namespace of its own, where the store's file is covered by one that holds
// that certificate. Nothing outside the thread sees the change, and the
// thread returns to the process's namespace at the end. Needs the right to
// make namespaces (root); unavailable() says why it could not.
class ScopedSystemTrust {
public:
    explicit ScopedSystemTrust(const TLSIdentity& identity)
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
        const auto file = folder_.write("trusted.pem", identity.pem());
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
    const TLSIdentity identity = selfSignedIdentity();
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
    const TLSIdentity identity = selfSignedIdentity();
    const ScopedSystemTrust trust(identity);
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
