#pragma once

#include "platform/runtime/foundation/http/MultipartFormBody.hpp"
#include "platform/runtime/foundation/http/URLRequest.hpp"
#include "platform/kits/httpclient/UploadRequest.hpp"

#include <cstdint>
#include <functional>
#include <memory>

namespace foundation {
class URLSession;
}

namespace httpclient {

// What the form-building closure of an upload fills.
using MultipartFormData = foundation::MultipartFormBody;

// The HTTP client library's session: multipart uploads as form upload tasks
// of a URL session, so that every upload runs on that session's one network
// thread and the caller returns at once.
//
// A form whose contents come to less than the memory threshold is handed to
// curl in memory; a larger one is streamed: its files are read from disk as
// they are sent and its in-memory parts are sent from where they are,
// without a copy. Either way no temporary file is written.
//
// An upload follows a redirect only when it is a 307 or 308, which send the
// form on unchanged, and never from https to plain HTTP (failing then with
// the URL session's error, appTransportSecurityRequiresSecureConnection);
// any other redirect fails it, since curl would send it on as a GET without
// its form. As in the URL session, a reply is held to 64 MiB once decoded:
// beyond that the transfer ends at once, failed with
// dataLengthExceedsMaximum.
class Session {
public:
    static constexpr std::uint64_t defaultMultipartFormDataEncodingMemoryThreshold = 10'000'000;

    // A session of its own URL session.
    Session();
    // Uploads on `urlSession`, which must outlive the session.
    explicit Session(foundation::URLSession& urlSession);
    // A session of its own URL session cancels the transfers still running
    // and waits until they have ended.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The library's default session, on the process's URL session; made on
    // first use and kept until exit.
    static Session& shared();

    // Builds the form with `multipartFormData`, then sends it with the
    // request's URL, method, header fields and time-out; curl adds the
    // multipart Content-Type with its boundary unless the request has one.
    std::shared_ptr<UploadRequest> upload(
        const std::function<void(MultipartFormData&)>& multipartFormData, foundation::URLRequest request,
        std::uint64_t usingThreshold = defaultMultipartFormDataEncodingMemoryThreshold);

private:
    std::unique_ptr<foundation::URLSession> ownedURLSession_;
    foundation::URLSession& urlSession_;
};

}  // namespace httpclient
