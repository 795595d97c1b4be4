#include "platform/httpclient/internal/MultipartTransfer.hpp"

#include "platform/foundation/DevelopmentCertificateTrust.hpp"
#include "platform/foundation/FormDataHeaderEscaping.hpp"
#include "platform/foundation/URLError.hpp"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace httpclient {
namespace {

// Below one byte a second nothing is moving: the time-out counts from there,
// as the platform's request time-out does.
constexpr long stalledBytesPerSecond = 1;
constexpr double longestTimeoutSeconds = 1e6;

// A media type goes to curl as C text: a NUL would cut it short, and a line
// break would end the header line early.
std::string oneLine(const std::string& text) {
    std::string result;
    for (const char c : text) {
        if (c != '\r' && c != '\n' && c != '\0') {
            result += c;
        }
    }
    return result;
}

ClientError sessionTaskFailed(foundation::URLError::Code code) {
    return ClientError(std::string("URLSessionTask failed with error: ") + foundation::URLError(code).what());
}

// Only a 307 or 308 promises that the request is sent on as it was: curl
// would turn the POST of a 301, 302 or 303 into a GET without the form, and
// that GET's answer would pass for the upload's.
bool resendsTheRequest(long status) {
    return status == 307 || status == 308;
}

ClientError redirectRefused(long status) {
    return ClientError("The server redirected the upload with status " + std::to_string(status) +
                       "; only a 307 or 308 redirect, which sends the form on unchanged, is followed.");
}

}  // namespace

MultipartTransfer::MultipartTransfer(foundation::URLRequest request, MultipartFormData form,
                                     std::uint64_t memoryThreshold)
    : request_(std::move(request)), form_(std::move(form)) {
    handle_.reset(curl_easy_init());
    if (!handle_) {
        throw std::runtime_error("curl_easy_init failed");
    }
    buildForm(memoryThreshold);
}

MultipartTransfer::~MultipartTransfer() {
    // The form refers to the sources; it goes first.
    mime_.reset();
    for (auto& source : sources_) {
        if (source.descriptor >= 0) {
            ::close(source.descriptor);
        }
    }
}

void MultipartTransfer::appendHeader(std::unique_ptr<curl_slist, ListDeleter>& list, const std::string& line) {
    curl_slist* const appended = curl_slist_append(list.get(), line.c_str());
    if (appended == nullptr) {
        throw std::bad_alloc();
    }
    (void)list.release();
    list.reset(appended);
}

void MultipartTransfer::buildForm(std::uint64_t memoryThreshold) {
    mime_.reset(curl_mime_init(handle_.get()));
    if (!mime_) {
        throw std::bad_alloc();
    }
    const bool inMemory = form_.contentLength() < memoryThreshold;
    for (const auto& part : form_.bodyParts()) {
        addPart(part, inMemory);
    }
}

void MultipartTransfer::addPart(const MultipartFormData::BodyPart& part, bool inMemory) {
    curl_mimepart* const mimePart = curl_mime_addpart(mime_.get());
    if (mimePart == nullptr) {
        throw std::bad_alloc();
    }
    std::unique_ptr<curl_slist, ListDeleter> headers;
    using foundation::FormDataHeaderEscaping;
    std::string disposition =
        "Content-Disposition: form-data; name=\"" + FormDataHeaderEscaping::quotedValue(part.name) + "\"";
    if (part.fileName) {
        disposition += "; filename=\"" + FormDataHeaderEscaping::quotedValue(*part.fileName) + "\"";
    }
    // One entry for both lines: curl would move a Content-Type entry of its
    // own accord ahead of the disposition, and the form's order is ours.
    if (part.mimeType) {
        disposition += "\r\nContent-Type: " + oneLine(*part.mimeType);
    }
    appendHeader(headers, disposition);
    curl_mime_headers(mimePart, headers.release(), 1);

    if (const auto* data = std::get_if<foundation::Data>(&part.contents)) {
        if (inMemory) {
            curl_mime_data(mimePart, data->empty() ? "" : reinterpret_cast<const char*>(data->data()), data->size());
            return;
        }
        Source& source = sources_.emplace_back();
        source.bytes = data;
        source.size = static_cast<curl_off_t>(data->size());
        curl_mime_data_cb(mimePart, source.size, &readSource, &seekSource, nullptr, &source);
        return;
    }

    const std::string path = std::get<foundation::URL>(part.contents).path();
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        const int error = descriptor < 0 ? errno : EISDIR;
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        if (openFailure_.empty()) {
            openFailure_ = "the file " + path + " cannot be read: " + std::strerror(error);
        }
        curl_mime_data(mimePart, "", 0);
        return;
    }
    Source& source = sources_.emplace_back();
    source.descriptor = descriptor;
    source.size = static_cast<curl_off_t>(status.st_size);
    if (inMemory) {
        // Small enough to hand over whole: read it now, as the in-memory
        // encoding of the form would.
        std::vector<char> bytes(static_cast<std::size_t>(source.size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t count = ::read(descriptor, bytes.data() + done, bytes.size() - done);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                openFailure_ = "the file " + path + " cannot be read: " + std::strerror(count < 0 ? errno : EIO);
                break;
            }
            done += static_cast<std::size_t>(count);
        }
        curl_mime_data(mimePart, bytes.empty() ? "" : bytes.data(), done);
        return;
    }
    curl_mime_data_cb(mimePart, source.size, &readSource, &seekSource, nullptr, &source);
}

std::size_t MultipartTransfer::readSource(char* buffer, std::size_t size, std::size_t count, void* opaque) noexcept {
    auto& source = *static_cast<Source*>(opaque);
    const auto wanted = static_cast<curl_off_t>(size * count);
    const curl_off_t left = source.size - source.offset;
    const auto length = static_cast<std::size_t>(std::min(wanted, left));
    if (length == 0) {
        return 0;
    }
    if (source.bytes != nullptr) {
        std::memcpy(buffer, source.bytes->data() + source.offset, length);
        source.offset += static_cast<curl_off_t>(length);
        return length;
    }
    for (;;) {
        const ssize_t read = ::pread(source.descriptor, buffer, length, source.offset);
        if (read < 0 && errno == EINTR) {
            continue;
        }
        if (read <= 0) {
            // A file that shrank or failed mid-way would send a form shorter
            // than announced: end the transfer as failed instead.
            source.failed = true;
            return CURL_READFUNC_ABORT;
        }
        source.offset += read;
        return static_cast<std::size_t>(read);
    }
}

int MultipartTransfer::seekSource(void* opaque, curl_off_t offset, int origin) noexcept {
    auto& source = *static_cast<Source*>(opaque);
    if (origin != SEEK_SET || offset < 0 || offset > source.size) {
        return CURL_SEEKFUNC_CANTSEEK;
    }
    source.offset = offset;
    return CURL_SEEKFUNC_OK;
}

std::size_t MultipartTransfer::receiveBody(char* bytes, std::size_t size, std::size_t count, void* opaque) noexcept {
    auto& self = *static_cast<MultipartTransfer*>(opaque);
    const std::size_t length = size * count;
    return self.received_.append(bytes, length) ? length : 0;
}

std::size_t MultipartTransfer::receiveHeader(char* bytes, std::size_t size, std::size_t count,
                                             void* opaque) noexcept {
    auto& self = *static_cast<MultipartTransfer*>(opaque);
    const std::size_t length = size * count;
    const std::string_view line(bytes, length);
    if (!self.receivedHeaderFields_.receive(line)) {
        return 0;
    }
    // Judged once a reply's fields are all in, before curl follows it.
    if (foundation::ReplyHeaderFields::endsFields(line) && self.receivedHeaderFields_.fields().value("Location")) {
        long status = 0;
        curl_easy_getinfo(self.handle_.get(), CURLINFO_RESPONSE_CODE, &status);
        if (status >= 300 && status < 400 && !resendsTheRequest(status)) {
            self.refusedRedirectStatus_ = status;
            return 0;
        }
    }
    return length;
}

int MultipartTransfer::checkCancelled(void* flag, curl_off_t, curl_off_t, curl_off_t, curl_off_t) noexcept {
    return static_cast<const std::atomic<bool>*>(flag)->load(std::memory_order_relaxed) ? 1 : 0;
}

DataResponse MultipartTransfer::perform(const std::atomic<bool>& cancelled) {
    DataResponse response;
    if (!openFailure_.empty()) {
        response.error = ClientError(openFailure_);
        return response;
    }
    const std::string scheme = request_.url().scheme();
    if (scheme != "http" && scheme != "https") {
        response.error = sessionTaskFailed(foundation::URLError::Code::unsupportedURL);
        return response;
    }
    CURL* const handle = handle_.get();
    curl_easy_setopt(handle, CURLOPT_URL, request_.url().absoluteString().c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    // As in the URL session: never from https to plain HTTP. A 307 or 308
    // sends the form again, from the start (the parts' seek callbacks).
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, foundation::redirectProtocols(request_.url()));
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, foundation::maximumRedirects);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(handle, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
    foundation::trustDevelopmentCertificate(handle, request_.url());
    curl_easy_setopt(handle, CURLOPT_MIMEPOST, mime_.get());
    const std::string method = request_.httpMethod();
    if (method != "POST") {
        curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, method.c_str());
    }
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &MultipartTransfer::receiveBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &MultipartTransfer::receiveHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &MultipartTransfer::checkCancelled);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &cancelled);

    const double seconds = std::min(request_.timeoutInterval(), longestTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::llround(seconds * 1000.0)));
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, stalledBytesPerSecond);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, std::max(1L, static_cast<long>(std::ceil(seconds))));

    for (const auto& [name, value] : request_.allHTTPHeaderFields().fields()) {
        if (::strcasecmp(name.c_str(), "Content-Length") == 0 || ::strcasecmp(name.c_str(), "Expect") == 0) {
            continue;
        }
        appendHeader(requestHeaders_, value.empty() ? name + ";" : name + ": " + value);
    }
    // No waiting for "100 Continue": it only costs a round trip.
    appendHeader(requestHeaders_, "Expect:");
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, requestHeaders_.get());

    const CURLcode result = curl_easy_perform(handle);
    if (result != CURLE_OK) {
        response.error = errorOf(result);
        return response;
    }
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    response.statusCode = static_cast<int>(status);
    response.data = foundation::Data(received_.take());
    return response;
}

ClientError MultipartTransfer::errorOf(CURLcode result) const {
    if (refusedRedirectStatus_ != 0) {
        return redirectRefused(refusedRedirectStatus_);
    }
    if (std::any_of(sources_.begin(), sources_.end(), [](const Source& s) { return s.failed; })) {
        return sessionTaskFailed(foundation::URLError::Code::cannotOpenFile);
    }
    // Else only the session's cancellation aborts from a callback.
    if (result == CURLE_ABORTED_BY_CALLBACK) {
        return sessionTaskFailed(foundation::URLError::Code::cancelled);
    }
    return sessionTaskFailed(
        foundation::transferErrorCode(handle_.get(), result, request_.url(), received_, receivedHeaderFields_));
}

}  // namespace httpclient
