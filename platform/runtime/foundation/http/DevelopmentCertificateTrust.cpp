#include "platform/runtime/foundation/http/DevelopmentCertificateTrust.hpp"

#include "platform/runtime/foundation/core/DevelopmentCertificate.hpp"
#include "platform/runtime/foundation/core/URLComponents.hpp"

#include <curl/curl.h>

namespace foundation {

void trustDevelopmentCertificate(void* easyHandle, const URL& url) {
    const auto certificate = DevelopmentCertificate::current();
    if (!certificate) {
        return;
    }
    // As written, as curl connects to it: an escaped host is no service host.
    const auto host = URLComponents(url).percentEncodedHost();
    if (!host || !certificate->isTrustedFor(*host)) {
        return;
    }
    CURL* const handle = easyHandle;
    // Without the pin the certificate would be an authority like any other:
    // a libcurl that cannot pin is not given it.
    if (curl_easy_setopt(handle, CURLOPT_PINNEDPUBLICKEY, certificate->publicKeyPin().c_str()) != CURLE_OK) {
        return;
    }
    // In place of the CA file; Debian's libcurl keeps its CA directory.
    curl_blob blob{const_cast<char*>(certificate->pem().data()), certificate->pem().size(), CURL_BLOB_COPY};
    curl_easy_setopt(handle, CURLOPT_CAINFO_BLOB, &blob);
}

}  // namespace foundation
