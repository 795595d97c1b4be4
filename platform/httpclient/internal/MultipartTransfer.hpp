#pragma once

#include "platform/foundation/URLRequest.hpp"
#include "platform/foundation/internal/CurlTransferRules.hpp"
#include "platform/httpclient/DataResponse.hpp"
#include "platform/httpclient/MultipartFormData.hpp"

#include <curl/curl.h>

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <string>

namespace httpclient {

// One multipart upload on one curl easy handle, performed synchronously on
// the calling thread. Every part's Content-Disposition and Content-Type are
// written here, in that order and byte for byte, rather than left to curl,
// which would guess a type from a file name. Internal to the session.
class MultipartTransfer {
public:
    MultipartTransfer(foundation::URLRequest request, MultipartFormData form, std::uint64_t memoryThreshold);
    MultipartTransfer(const MultipartTransfer&) = delete;
    MultipartTransfer& operator=(const MultipartTransfer&) = delete;
    ~MultipartTransfer();

    // Runs the transfer to its end; `cancelled` stops it between two blocks.
    DataResponse perform(const std::atomic<bool>& cancelled);

private:
    // A part's contents sent by callback: a file read from disk or bytes
    // read where they lie.
    struct Source {
        int descriptor = -1;
        const foundation::Data* bytes = nullptr;
        curl_off_t size = 0;
        curl_off_t offset = 0;
        bool failed = false;
    };

    struct EasyDeleter {
        void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    };
    struct MimeDeleter {
        void operator()(curl_mime* mime) const { curl_mime_free(mime); }
    };
    struct ListDeleter {
        void operator()(curl_slist* list) const { curl_slist_free_all(list); }
    };

    void buildForm(std::uint64_t memoryThreshold);
    void addPart(const MultipartFormData::BodyPart& part, bool inMemory);
    static void appendHeader(std::unique_ptr<curl_slist, ListDeleter>& list, const std::string& line);

    static std::size_t readSource(char* buffer, std::size_t size, std::size_t count, void* source) noexcept;
    static int seekSource(void* source, curl_off_t offset, int origin) noexcept;
    [[nodiscard]] ClientError errorOf(CURLcode result) const;

    static std::size_t receiveBody(char* bytes, std::size_t size, std::size_t count, void* transfer) noexcept;
    static std::size_t receiveHeader(char* bytes, std::size_t size, std::size_t count, void* transfer) noexcept;
    static int checkCancelled(void* flag, curl_off_t, curl_off_t, curl_off_t, curl_off_t) noexcept;

    foundation::URLRequest request_;
    MultipartFormData form_;
    std::unique_ptr<CURL, EasyDeleter> handle_;
    std::unique_ptr<curl_mime, MimeDeleter> mime_;
    std::unique_ptr<curl_slist, ListDeleter> requestHeaders_;
    std::list<Source> sources_;
    foundation::ReplyBody received_{foundation::URLRequest::defaultLargestReplyLength};
    foundation::ReplyHeaderFields receivedHeaderFields_;
    // The status of a redirect the upload does not follow, or 0.
    long refusedRedirectStatus_ = 0;
    std::string openFailure_;
};

}  // namespace httpclient
