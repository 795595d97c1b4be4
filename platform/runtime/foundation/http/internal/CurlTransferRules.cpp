#include "platform/runtime/foundation/http/internal/CurlTransferRules.hpp"

#include <algorithm>
#include <cerrno>
#include <new>

#include <strings.h>

namespace foundation {
namespace {

bool isSecure(const URL& url) {
    return url.scheme() == "https";
}

std::string_view withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}

URLError::Code errorCodeFor(CURLcode result, long osError, long responseCode) {
    switch (result) {
    case CURLE_UNSUPPORTED_PROTOCOL:
        // curl says this too of a reply without a status line (HTTP/0.9,
        // which it refuses); only a redirect can lead to a scheme it refuses,
        // since the scheme was checked before the transfer started.
        return responseCode == 0 ? URLError::Code::badServerResponse : URLError::Code::unsupportedURL;
    case CURLE_URL_MALFORMAT:
        return URLError::Code::badURL;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
        return URLError::Code::cannotFindHost;
    case CURLE_COULDNT_CONNECT:
        return (osError == ENETUNREACH || osError == ENETDOWN) ? URLError::Code::notConnectedToInternet
                                                               : URLError::Code::cannotConnectToHost;
    case CURLE_OPERATION_TIMEDOUT:
        return URLError::Code::timedOut;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
        return URLError::Code::networkConnectionLost;
    case CURLE_TOO_MANY_REDIRECTS:
        return URLError::Code::httpTooManyRedirects;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_HTTP3:
        return URLError::Code::badServerResponse;
    case CURLE_BAD_CONTENT_ENCODING:
        return URLError::Code::cannotDecodeContentData;
    case CURLE_LOGIN_DENIED:
    case CURLE_AUTH_ERROR:
        return URLError::Code::userAuthenticationRequired;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_ISSUER_ERROR:
        return URLError::Code::serverCertificateUntrusted;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_USE_SSL_FAILED:
        return URLError::Code::secureConnectionFailed;
    case CURLE_FILE_COULDNT_READ_FILE:
        return URLError::Code::fileDoesNotExist;
    case CURLE_READ_ERROR:
        return URLError::Code::cannotOpenFile;
    default:
        return URLError::Code::unknown;
    }
}

}  // namespace

const char* redirectProtocols(const URL& url) {
    return isSecure(url) ? "https" : "http,https";
}

bool ReplyBody::append(const char* bytes, std::size_t length) noexcept {
    const std::size_t needed = bytes_.size() + length;
    if (limit_ && needed > *limit_) {
        exceeded_ = true;
        return false;
    }
    try {
        // Grown by hand so that the room never exceeds the limit.
        if (needed > bytes_.capacity()) {
            const std::size_t room = std::max(needed, 2 * bytes_.capacity());
            bytes_.reserve(limit_ ? std::min(room, *limit_) : room);
        }
        bytes_.insert(bytes_.end(), bytes, bytes + length);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool ReplyHeaderFields::receive(std::string_view line) noexcept {
    line = withoutLineEnd(line);
    try {
        if (line.starts_with("HTTP/")) {
            fields_ = HTTPHeaderFields();
        } else if (const auto colon = line.find(':'); colon != std::string_view::npos && colon > 0) {
            const auto value = HTTPHeaderFields::withoutOptionalWhitespace(line.substr(colon + 1));
            fields_.append(line.substr(0, colon), value, ", ");
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool ReplyHeaderFields::endsFields(std::string_view line) noexcept {
    return withoutLineEnd(line).empty();
}

URLError::Code transferErrorCode(CURL* handle, CURLcode result, const URL& url, const ReplyBody& body,
                                 const ReplyHeaderFields& headerFields) {
    if (body.exceededLimit()) {
        return URLError::Code::dataLengthExceedsMaximum;
    }
    long osError = 0;
    long responseCode = 0;
    curl_easy_getinfo(handle, CURLINFO_OS_ERRNO, &osError);
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &responseCode);
    const URLError::Code code = errorCodeFor(result, osError, responseCode);
    // The fields kept are those of the redirect that was refused.
    if (code == URLError::Code::unsupportedURL && isSecure(url)) {
        const auto location = headerFields.fields().value("Location");
        if (location && location->size() >= 5 && strncasecmp(location->c_str(), "http:", 5) == 0) {
            return URLError::Code::appTransportSecurityRequiresSecureConnection;
        }
    }
    return code;
}

}  // namespace foundation
