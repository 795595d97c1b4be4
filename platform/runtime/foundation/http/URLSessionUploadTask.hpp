#pragma once

#include "platform/runtime/foundation/http/URLSessionTask.hpp"

namespace foundation {

class URLSession;

// A task whose body, in place of the request's own, is streamed from a local
// file or sent as a multipart form, so that a body of any size keeps memory
// flat.
class URLSessionUploadTask final : public URLSessionTask {
private:
    friend class URLSession;

    URLSessionUploadTask(std::weak_ptr<URLSessionLoop> loop, URLRequest request, UploadBody body,
                         std::shared_ptr<URLSessionTaskDelegate> delegate, CompletionHandler completionHandler)
        : URLSessionTask(std::move(loop), std::move(request), std::move(body), std::move(delegate),
                         std::move(completionHandler)) {}
};

}  // namespace foundation
