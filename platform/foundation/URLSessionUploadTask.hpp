#pragma once

#include "platform/foundation/URLSessionTask.hpp"

namespace foundation {

class URLSession;

// A task whose body is streamed from a local file, in place of the request's
// own body, so that a body of any size keeps memory flat.
class URLSessionUploadTask final : public URLSessionTask {
private:
    friend class URLSession;

    URLSessionUploadTask(std::weak_ptr<URLSessionLoop> loop, URLRequest request, URL bodyFile,
                         std::shared_ptr<URLSessionTaskDelegate> delegate, CompletionHandler completionHandler)
        : URLSessionTask(std::move(loop), std::move(request), std::move(bodyFile), std::move(delegate),
                         std::move(completionHandler)) {}
};

}  // namespace foundation
