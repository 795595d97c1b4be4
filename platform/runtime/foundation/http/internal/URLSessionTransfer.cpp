#include "platform/runtime/foundation/http/internal/URLSessionTransfer.hpp"

#include "platform/runtime/foundation/http/DevelopmentCertificateTrust.hpp"
#include "platform/runtime/foundation/http/HTTPURLResponse.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/URLSessionTask.hpp"
#include "platform/runtime/foundation/http/URLSessionTaskDelegate.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace foundation {
namespace {

// A file body goes through curl's upload buffer: read into it, then sent
// from it. An eighth of the reads and sends that curl's 64 KiB would take,
// in a piece that still sits in a core's cache between the two copies.
constexpr long fileBodyBufferSize = 512L * 1024;

// About eleven days: long enough for any real time-out, short enough for curl's longs.
constexpr double longestTimeoutSeconds = 1e6;

// Only a 307 or 308 promises that the request is sent on as it was: curl
// would turn the POST of a 301, 302 or 303 into a GET without its form, and
// that GET's answer would pass for the upload's.
bool resendsTheRequest(long status) {
    return status == 307 || status == 308;
}

}  // namespace

URLSessionTransfer::URLSessionTransfer(URLSession& session, std::shared_ptr<URLSessionTask> task)
    : session_(session), task_(std::move(task)), delegate_(task_->delegate()) {
    const URL& url = task_->request().url();
    const std::string scheme = url.scheme();
    if (scheme != "http" && scheme != "https" && scheme != "file") {
        throw URLError(URLError::Code::unsupportedURL);
    }
    const auto& uploadBody = task_->uploadBody();
    if (url.isFileURL()) {
        // A file: URL is only read, and a form has nowhere to go there.
        if (std::holds_alternative<URLSessionTask::FormUpload>(uploadBody)) {
            throw URLError(URLError::Code::unsupportedURL);
        }
        file_.emplace(url);
    } else if (const auto* bodyFile = std::get_if<URL>(&uploadBody)) {
        file_.emplace(*bodyFile);
    }
    handle_.reset(curl_easy_init());
    if (!handle_) {
        throw URLError(URLError::Code::unknown);
    }
    configureCommon();
    // A file: URL is only ever read; method, header fields and body are HTTP's.
    if (!url.isFileURL()) {
        // A local file is the user's own, and as large as it is; a reply over the network is held to
        // its request's largest size.
        receivedBody_ = ReplyBody(task_->request().largestReplyLength());
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
    // A redirect never leads to a local file, nor from https to plain HTTP.
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, redirectProtocols(task_->request().url()));
    // curl turns POST into GET on 301, 302 and 303 and keeps it on 307 and
    // 308, as the other platform does, and since 7.83 drops a Cookie field
    // set by hand when a redirect leads to another host.
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, maximumRedirects);
    // Every coding this libcurl decodes (gzip, deflate, br, zstd), and no
    // other; what they decode to is held to the reply body's limit.
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
    if (const auto* form = std::get_if<URLSessionTask::FormUpload>(&task_->uploadBody())) {
        formBody_.emplace(handle, form->form, form->memoryThreshold);
        curl_easy_setopt(handle, CURLOPT_MIMEPOST, formBody_->mime());
        if (method != "POST") {
            curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, method.c_str());
        }
        return;
    }
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
            curl_easy_setopt(handle, CURLOPT_UPLOAD_BUFFERSIZE, fileBodyBufferSize);
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
    // A form's media type names its boundary, which curl alone knows.
    if (!fields.value("Content-Type") && !formBody_) {
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

void URLSessionTransfer::finish(CURLcode result) {
    if (refusedRedirect_) {
        auto reply = response();
        task_->complete(Data(), std::move(reply), std::nullopt);
        return;
    }
    if (formBody_ && formBody_->readFailed()) {
        task_->complete(std::nullopt, nullptr, URLError(URLError::Code::cannotOpenFile));
        return;
    }
    if (result != CURLE_OK) {
        const URLError::Code code =
            transferErrorCode(handle_.get(), result, task_->request().url(), receivedBody_, receivedHeaderFields_);
        task_->complete(std::nullopt, nullptr, URLError(code));
        return;
    }
    auto reply = response();
    task_->complete(Data(receivedBody_.take()), std::move(reply), std::nullopt);
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
                                             receivedHeaderFields_.take());
}

std::size_t URLSessionTransfer::receiveBody(char* bytes, std::size_t size, std::size_t count,
                                            void* transfer) noexcept {
    auto& self = *static_cast<URLSessionTransfer*>(transfer);
    const std::size_t length = size * count;
    self.madeProgress();
    return self.receivedBody_.append(bytes, length) ? length : 0;
}

std::size_t URLSessionTransfer::receiveHeader(char* bytes, std::size_t size, std::size_t count,
                                              void* transfer) noexcept {
    auto& self = *static_cast<URLSessionTransfer*>(transfer);
    const std::size_t length = size * count;
    self.madeProgress();
    const std::string_view line(bytes, length);
    if (!self.receivedHeaderFields_.receive(line)) {
        return 0;
    }
    // Judged once a reply's fields are all in, before curl follows it.
    if (self.formBody_ && ReplyHeaderFields::endsFields(line) &&
        self.receivedHeaderFields_.fields().value("Location")) {
        long status = 0;
        curl_easy_getinfo(self.handle_.get(), CURLINFO_RESPONSE_CODE, &status);
        if (status >= 300 && status < 400 && !resendsTheRequest(status)) {
            self.refusedRedirect_ = true;
            return 0;
        }
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

int URLSessionTransfer::reportProgress(void* transfer, curl_off_t, curl_off_t received, curl_off_t toSend,
                                       curl_off_t sent) noexcept {
    auto& self = *static_cast<URLSessionTransfer*>(transfer);
    // A form's length is curl's to count, once it has laid the form out.
    if (self.formBody_) {
        self.bodyLength_ = toSend;
    }
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
