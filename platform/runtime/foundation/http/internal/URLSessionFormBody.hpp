#pragma once

#include "platform/runtime/foundation/http/MultipartFormBody.hpp"
#include "platform/runtime/foundation/http/internal/URLSessionLocalFile.hpp"

#include <curl/curl.h>

#include <cstdint>
#include <list>
#include <memory>

namespace foundation {

// An upload task's multipart form as curl's MIME structure on the transfer's
// handle. Every part's Content-Disposition and Content-Type are written here,
// in that order and byte for byte, rather than left to curl, which would
// guess a type from a file name. The form it is made from must outlive it.
// Internal to the session.
class URLSessionFormBody {
public:
    // Opens every part's file: throws URLError as URLSessionLocalFile does,
    // naming the file, or cannotOpenFile for a file to be sent whole that
    // cannot be read whole.
    URLSessionFormBody(CURL* handle, const MultipartFormBody& form, std::uint64_t memoryThreshold);
    URLSessionFormBody(const URLSessionFormBody&) = delete;
    URLSessionFormBody& operator=(const URLSessionFormBody&) = delete;

    [[nodiscard]] curl_mime* mime() const noexcept { return mime_.get(); }
    // Whether a part's file gave out before its end while it was sent.
    [[nodiscard]] bool readFailed() const noexcept;

private:
    // A part's contents sent by callback: a file read from disk, or bytes
    // read where they lie.
    struct Source {
        std::unique_ptr<URLSessionLocalFile> file;
        const Data* bytes = nullptr;
        curl_off_t size = 0;
        curl_off_t offset = 0;
        bool failed = false;
    };
    struct MimeDeleter {
        void operator()(curl_mime* mime) const { curl_mime_free(mime); }
    };

    void addPart(const MultipartFormBody::BodyPart& part, bool inMemory);
    static std::size_t readSource(char* buffer, std::size_t size, std::size_t count, void* source) noexcept;
    static int seekSource(void* source, curl_off_t offset, int origin) noexcept;

    // The structure refers to the sources, so it goes first.
    std::list<Source> sources_;
    std::unique_ptr<curl_mime, MimeDeleter> mime_;
};

}  // namespace foundation
