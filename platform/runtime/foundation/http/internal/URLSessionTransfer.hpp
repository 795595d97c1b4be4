#pragma once

#include "platform/runtime/foundation/http/HTTPHeaderFields.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/internal/CurlTransferRules.hpp"
#include "platform/runtime/foundation/http/internal/URLSessionFormBody.hpp"
#include "platform/runtime/foundation/http/internal/URLSessionLocalFile.hpp"

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace foundation {

class URLResponse;
class URLSession;
class URLSessionTask;
class URLSessionTaskDelegate;

// One task's curl easy handle: set up from the task's request, fed by curl's
// callbacks while the session loop drives it, and turned into the task's
// completion at the end. Lives on the loop's thread only. Internal to the
// session.
class URLSessionTransfer {
public:
    // Throws URLError when the request cannot even start: a scheme other than
    // http, https or file, or a body file or file: URL that cannot be read.
    URLSessionTransfer(URLSession& session, std::shared_ptr<URLSessionTask> task);
    URLSessionTransfer(const URLSessionTransfer&) = delete;
    URLSessionTransfer& operator=(const URLSessionTransfer&) = delete;

    [[nodiscard]] CURL* handle() const noexcept { return handle_.get(); }
    [[nodiscard]] URLSessionTask& task() const noexcept { return *task_; }

    // Completes the task with what curl's result and the reply amount to.
    void finish(CURLcode result);

    // When the transfer has gone as long as its request's time-out without
    // sending or receiving anything; the loop then finishes it as timed out.
    // The clock starts when the transfer is made, so waiting for a
    // connection and connecting count as idle time.
    [[nodiscard]] std::chrono::steady_clock::time_point idleDeadline() const noexcept;

private:
    struct EasyDeleter {
        void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    };
    struct ListDeleter {
        void operator()(curl_slist* list) const { curl_slist_free_all(list); }
    };

    void configureCommon();
    void configureHTTP();
    void configureBody();
    void configureHeaderFields();
    void configureProgress();
    [[nodiscard]] std::shared_ptr<const URLResponse> response();

    static std::size_t receiveBody(char* bytes, std::size_t size, std::size_t count, void* transfer) noexcept;
    static std::size_t receiveHeader(char* bytes, std::size_t size, std::size_t count, void* transfer) noexcept;
    static std::size_t sendBody(char* buffer, std::size_t size, std::size_t count, void* transfer) noexcept;
    static int rewindBody(void* transfer, curl_off_t offset, int origin) noexcept;
    void madeProgress() noexcept;
    static int reportProgress(void* transfer, curl_off_t, curl_off_t received, curl_off_t toSend,
                              curl_off_t sent) noexcept;

    URLSession& session_;
    const std::shared_ptr<URLSessionTask> task_;
    const std::shared_ptr<URLSessionTaskDelegate> delegate_;
    // The body of an upload, or the file a file: URL names.
    std::optional<URLSessionLocalFile> file_;
    std::int64_t bodyLength_ = 0;
    curl_off_t bodyBytesSent_ = 0;
    curl_off_t bytesReceived_ = 0;
    std::chrono::steady_clock::duration idleLimit_{};
    std::chrono::steady_clock::time_point lastProgress_ = std::chrono::steady_clock::now();

    std::unique_ptr<CURL, EasyDeleter> handle_;
    std::unique_ptr<curl_slist, ListDeleter> headerList_;
    // The body of a form upload; made on the handle, and gone before it.
    std::optional<URLSessionFormBody> formBody_;
    // A form's redirect that is not followed: the task completes with its reply.
    bool refusedRedirect_ = false;

    ReplyBody receivedBody_{std::nullopt};
    ReplyHeaderFields receivedHeaderFields_;
};

}  // namespace foundation
