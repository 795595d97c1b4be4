#include "platform/foundation/internal/URLSessionTransfer.hpp"

#include "platform/foundation/DevelopmentCertificateTrust.hpp"
#include "platform/foundation/HTTPURLResponse.hpp"
#include "platform/foundation/URLError.hpp"
#include "platform/foundation/URLSessionTask.hpp"
#include "platform/foundation/URLSessionTaskDelegate.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include <strings.h>

namespace foundation {
namespace {

// Ends a redirect loop long before it could matter to anyone waiting.
constexpr long maximumRedirects = 16;
// About eleven days: long enough for any real time-out, short enough for curl's longs.
constexpr double longestTimeoutSeconds = 1e6;

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

URLSessionTransfer::URLSessionTransfer(URLSession& session, std::shared_ptr<URLSessionTask> task)
    : session_(session), task_(std::move(task)), delegate_(task_->delegate()) {
    const URL& url = task_->request().url();
    const std::string scheme = url.scheme();
    if (scheme != "http" && scheme != "https" && scheme != "file") {
        throw URLError(URLError::Code::unsupportedURL);
    }
    if (url.isFileURL()) {
        file_.emplace(url);
    } else if (task_->bodyFile()) {
        file_.emplace(*task_->bodyFile());
    }
    handle_.reset(curl_easy_init());
    if (!handle_) {
        throw URLError(URLError::Code::unknown);
    }
    configureCommon();
    // A file: URL is only ever read; method, header fields and body are HTTP's.
    if (!url.isFileURL()) {
        // A local file is the user's own, and as large as it is.
        largestBody_ = task_->request().largestReplyLength();
        configureHTTP();
        configureBody();
        configureHeaderFields();
        configureProgress();
    }
}

void URLSessionTransfer::configureCommon() {
    CURL* const handle = handle_.get();
    const URLRequest& request = task_->request();
    curl_easy_setopt(handle, CURLOPT_URL, request.url().absoluteString().c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https,file");
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_PRIVATE, this);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &URLSessionTransfer::receiveBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, this);

    // The time-out bounds how long the transfer may go without sending or
    // receiving anything, as the other platform's request time-out does,
    // not how long it may take, nor how fast it must go: the session's loop
    // ends a transfer idle for that long (idleDeadline()). Connecting makes
    // no progress, so curl's own bound on it is the same.
    const double seconds = std::min(request.timeoutInterval(), longestTimeoutSeconds);
    const long milliseconds = std::max(1L, static_cast<long>(std::llround(seconds * 1000.0)));
    idleLimit_ = std::chrono::milliseconds(milliseconds);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, milliseconds);
}

void URLSessionTransfer::configureHTTP() {
    CURL* const handle = handle_.get();
    // A redirect never leads to a local file, nor, once the request went out
    // encrypted, to plain HTTP: a 307 or 308 would send the body again, in
    // clear text, to wherever the redirect points.
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, startsSecure() ? "https" : "http,https");
    // curl turns POST into GET on 301, 302 and 303 and keeps it on 307 and
    // 308, as the other platform does, and since 7.83 drops a Cookie field
    // set by hand when a redirect leads to another host.
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, maximumRedirects);
    // Every coding this libcurl decodes (gzip, deflate, br, zstd), and no
    // other; what they decode to is held to the largest reply body.
    curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
    // Peer and host verification are curl's defaults, against the system's
    // CA store; nothing here turns them off.
    curl_easy_setopt(handle, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
    trustDevelopmentCertificate(handle, task_->request().url());
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &URLSessionTransfer::receiveHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, this);
}

void URLSessionTransfer::configureBody() {
    CURL* const handle = handle_.get();
    const URLRequest& request = task_->request();
    const std::string method = request.httpMethod();
    if (method == "HEAD") {
        curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
        return;
    }
    // A bodiless POST, PUT or PATCH still says "Content-Length: 0", or the
    // server would wait for a body that never comes.
    const bool sendsBody =
        file_ || request.httpBody() || method == "POST" || method == "PUT" || method == "PATCH";
    if (sendsBody) {
        curl_easy_setopt(handle, CURLOPT_POST, 1L);
        if (file_) {
            bodyLength_ = file_->size();
            curl_easy_setopt(handle, CURLOPT_READFUNCTION, &URLSessionTransfer::sendBody);
            curl_easy_setopt(handle, CURLOPT_READDATA, this);
            curl_easy_setopt(handle, CURLOPT_SEEKFUNCTION, &URLSessionTransfer::rewindBody);
            curl_easy_setopt(handle, CURLOPT_SEEKDATA, this);
        } else {
            const Data* body = request.httpBody() ? &*request.httpBody() : nullptr;
            bodyLength_ = body ? static_cast<std::int64_t>(body->size()) : 0;
            // A null pointer would make curl ask the read callback for the body.
            const char* bytes = (body && !body->empty()) ? body->view().data() : "";
            curl_easy_setopt(handle, CURLOPT_POSTFIELDS, bytes);
        }
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(bodyLength_));
    }
    // Naming POST or GET only when they differ from curl's own choice keeps
    // curl free to change the method on a redirect.
    if (method != (sendsBody ? "POST" : "GET")) {
        curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, method.c_str());
    }
}

void URLSessionTransfer::configureHeaderFields() {
    HTTPHeaderFields fields = task_->request().allHTTPHeaderFields();
    // The length is always the body's own, and waiting for "100 Continue"
    // would only cost a round trip.
    fields.remove("Content-Length");
    fields.remove("Expect");
    const auto append = [this](const std::string& line) {
        curl_slist* const list = curl_slist_append(headerList_.get(), line.c_str());
        if (list == nullptr) {
            throw URLError(URLError::Code::unknown);
        }
        (void)headerList_.release();
        headerList_.reset(list);
    };
    for (const auto& [name, value] : fields.fields()) {
        // "Name;" is curl's way of sending a field with an empty value.
        append(value.empty() ? name + ";" : name + ": " + value);
    }
    // "Name:" withdraws a field that curl would add of its own accord: a
    // body's media type is the caller's to name, or none.
    append("Expect:");
    if (!fields.value("Content-Type")) {
        append("Content-Type:");
    }
    curl_easy_setopt(handle_.get(), CURLOPT_HTTPHEADER, headerList_.get());
}

void URLSessionTransfer::configureProgress() {
    // Also what tells the idle time-out that bytes are moving.
    CURL* const handle = handle_.get();
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &URLSessionTransfer::reportProgress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
}

bool URLSessionTransfer::startsSecure() const {
    return task_->request().url().scheme() == "https";
}

URLError::Code URLSessionTransfer::errorCodeOf(CURLcode result) const {
    if (bodyTooLarge_) {
        return URLError::Code::dataLengthExceedsMaximum;
    }
    long osError = 0;
    long responseCode = 0;
    curl_easy_getinfo(handle_.get(), CURLINFO_OS_ERRNO, &osError);
    curl_easy_getinfo(handle_.get(), CURLINFO_RESPONSE_CODE, &responseCode);
    const URLError::Code code = errorCodeFor(result, osError, responseCode);
    // The fields kept are those of the redirect that was refused.
    if (code == URLError::Code::unsupportedURL && startsSecure()) {
        const auto location = receivedHeaderFields_.value("Location");
        if (location && location->size() >= 5 && strncasecmp(location->c_str(), "http:", 5) == 0) {
            return URLError::Code::appTransportSecurityRequiresSecureConnection;
        }
    }
    return code;
}

void URLSessionTransfer::finish(CURLcode result) {
    if (result != CURLE_OK) {
        task_->complete(std::nullopt, nullptr, URLError(errorCodeOf(result)));
        return;
    }
    auto reply = response();
    task_->complete(Data(std::move(receivedBody_)), std::move(reply), std::nullopt);
}

std::shared_ptr<const URLResponse> URLSessionTransfer::response() {
    const URL& requested = task_->request().url();
    if (requested.isFileURL()) {
        return std::make_shared<URLResponse>(requested, file_->mimeType(), file_->size());
    }
    const char* effective = nullptr;
    curl_easy_getinfo(handle_.get(), CURLINFO_EFFECTIVE_URL, &effective);
    auto url = effective ? URL::fromString(effective) : std::nullopt;
    long status = 0;
    curl_easy_getinfo(handle_.get(), CURLINFO_RESPONSE_CODE, &status);
    return std::make_shared<HTTPURLResponse>(url.value_or(requested), static_cast<int>(status),
                                             std::move(receivedHeaderFields_));
}

std::size_t URLSessionTransfer::receiveBody(char* bytes, std::size_t size, std::size_t count,
                                            void* transfer) noexcept {
    auto& self = *static_cast<URLSessionTransfer*>(transfer);
    const std::size_t length = size * count;
    self.madeProgress();
    auto& body = self.receivedBody_;
    const std::size_t needed = body.size() + length;
    if (self.largestBody_ && needed > *self.largestBody_) {
        self.bodyTooLarge_ = true;
        return 0;
    }
    try {
        // Grown by hand so that the room never exceeds the limit.
        if (needed > body.capacity()) {
            const std::size_t room = std::max(needed, 2 * body.capacity());
            body.reserve(self.largestBody_ ? std::min(room, *self.largestBody_) : room);
        }
        body.insert(body.end(), bytes, bytes + length);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return length;
}

std::size_t URLSessionTransfer::receiveHeader(char* bytes, std::size_t size, std::size_t count,
                                              void* transfer) noexcept {
    auto& self = *static_cast<URLSessionTransfer*>(transfer);
    const std::size_t length = size * count;
    self.madeProgress();
    std::string_view line(bytes, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    try {
        // Every status line opens a new reply: a redirect's or an interim
        // reply's fields are not the final reply's.
        if (line.starts_with("HTTP/")) {
            self.receivedHeaderFields_ = HTTPHeaderFields();
        } else if (const auto colon = line.find(':'); colon != std::string_view::npos && colon > 0) {
            const auto value = HTTPHeaderFields::withoutOptionalWhitespace(line.substr(colon + 1));
            self.receivedHeaderFields_.append(line.substr(0, colon), value, ", ");
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return length;
}

std::size_t URLSessionTransfer::sendBody(char* buffer, std::size_t size, std::size_t count,
                                         void* transfer) noexcept {
    auto& self = *static_cast<URLSessionTransfer*>(transfer);
    const auto read = self.file_->read(buffer, size * count);
    return read ? *read : CURL_READFUNC_ABORT;
}

int URLSessionTransfer::rewindBody(void* transfer, curl_off_t offset, int origin) noexcept {
    auto& self = *static_cast<URLSessionTransfer*>(transfer);
    return (origin == SEEK_SET && self.file_->seek(offset)) ? CURL_SEEKFUNC_OK : CURL_SEEKFUNC_FAIL;
}

std::chrono::steady_clock::time_point URLSessionTransfer::idleDeadline() const noexcept {
    return lastProgress_ + idleLimit_;
}

void URLSessionTransfer::madeProgress() noexcept {
    lastProgress_ = std::chrono::steady_clock::now();
}

int URLSessionTransfer::reportProgress(void* transfer, curl_off_t, curl_off_t received, curl_off_t,
                                       curl_off_t sent) noexcept {
    auto& self = *static_cast<URLSessionTransfer*>(transfer);
    if (received != self.bytesReceived_) {
        self.bytesReceived_ = received;
        self.madeProgress();
    }
    if (sent > self.bodyBytesSent_) {
        const curl_off_t increase = sent - self.bodyBytesSent_;
        self.bodyBytesSent_ = sent;
        self.madeProgress();
        if (self.delegate_) {
            self.delegate_->didSendBodyData(self.session_, *self.task_, increase, sent, self.bodyLength_);
        }
    } else if (sent < self.bodyBytesSent_) {
        // A redirect that keeps the method sends the body again from the start.
        self.bodyBytesSent_ = sent;
    }
    return 0;
}

}  // namespace foundation
