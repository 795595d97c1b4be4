// The development certificate through the URL session's curl engine, from a
// data task and from the HTTP client library's form upload, against HTTPS
// servers on the loopback interface: trusted as one pinned leaf, for its
// hosts only.

#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/runtime/foundation/core/DevelopmentCertificateOverride.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"
#include "platform/kits/httpclient/Session.hpp"
#include "tests/platform/runtime/foundation/CompletionProbe.hpp"
#include "tests/support/MainLoop.hpp"
#include "tests/support/ScratchDirectory.hpp"
#include "tests/support/TLSIdentity.hpp"
#include "tests/support/TLSServer.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

namespace foundation {
namespace {

using testing::HasSubstr;
using testsupport::MainLoop;
using testsupport::ScratchDirectory;
using testsupport::TLSIdentity;
using testsupport::TLSServer;

// The page the server sent, or the error's description.
std::string throughURLSession(const std::string& url) {
    CompletionProbe probe;
    probe.dataTask(URLSession::shared(), URLRequest(*URL::fromString(url)))->resume();
    const auto outcome = probe.wait();
    if (outcome.error) {
        return outcome.error->what();
    }
    return outcome.data ? std::string(outcome.data->view()) : "no data";
}

std::string throughUploadClient(const std::string& url) {
    URLRequest request(*URL::fromString(url));
    request.setHTTPMethod("POST");
    std::optional<httpclient::DataResponse> delivered;
    auto subscription = httpclient::Session::shared()
                            .upload([](httpclient::MultipartFormData& form) { form.append(Data("x"), "notes"); },
                                    request)
                            ->publishData(concurrency::MainActor::shared())
                            .sink([&](const httpclient::DataResponse& response) { delivered = response; });
    if (!MainLoop::iterateUntil([&] { return delivered.has_value(); })) {
        return "no response";
    }
    return delivered->error ? delivered->error->what() : std::string(delivered->data.view());
}

TEST(DevelopmentCertificateTrust, OnlyItsHostsAndOnlyItsKey) {
    const std::string api = "api.kestrova.localhost";
    // Named by the certificates below, but none of the setting's hosts.
    const std::string bank = "bank.localhost";
    const TLSIdentity leaf({.alternativeNames = "DNS:" + api + ",DNS:" + bank});
    // What OpenSSL takes for an authority though it does not say CA:TRUE: no
    // basic constraints, and a key usage that lets it sign certificates.
    const TLSIdentity signer({.alternativeNames = "DNS:" + api, .basicConstraints = "",
                              .keyUsage = "critical,keyCertSign,digitalSignature"});
    const TLSIdentity bankBySigner({.alternativeNames = "DNS:" + bank, .issuer = &signer});
    const TLSIdentity apiBySigner({.alternativeNames = "DNS:" + api, .issuer = &signer});
    ScratchDirectory files;
    const auto leafFile = files.write("leaf.pem", leaf.pem()).string();
    const auto signerFile = files.write("signer.pem", signer.pem()).string();

    struct Case {
        std::string label;
        const std::string& setting;
        const TLSIdentity& presented;
        std::string host;
        // None: the page comes.
        std::optional<URLError::Code> refusal;
    };
    const Case cases[] = {
        {"the certificate at its host", leafFile, leaf, api, std::nullopt},
        {"the certificate at its host in capitals", leafFile, leaf, "API.Kestrova.LOCALHOST", std::nullopt},
        {"the certificate at a host it names", leafFile, leaf, bank, URLError::Code::serverCertificateUntrusted},
        {"a certificate it signed at a host that one names", signerFile, bankBySigner, bank,
         URLError::Code::serverCertificateUntrusted},
        {"a certificate it signed for its host, with a key of its own", signerFile, apiBySigner, api,
         URLError::Code::secureConnectionFailed},
    };
    using Engine = std::function<std::string(const std::string&)>;
    for (const auto& [engine, request] :
         {std::pair<std::string, Engine>{"URL session", throughURLSession}, {"HTTP client library", throughUploadClient}}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(engine + ": " + c.label);
            const DevelopmentCertificateOverride trust(c.setting, {api});
            const TLSServer server(c.presented, "Reached");
            const auto outcome = request(server.url(c.host));
            EXPECT_THAT(outcome, HasSubstr(c.refusal ? URLError(*c.refusal).what() : "<title>Reached</title>"));
        }
    }
}

}  // namespace
}  // namespace foundation
