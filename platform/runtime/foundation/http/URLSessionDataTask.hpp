#pragma once

#include "platform/runtime/foundation/http/URLSessionTask.hpp"

namespace foundation {

class URLSession;

// A task that sends the request with its own body, if any, and collects the reply in memory.
class URLSessionDataTask final : public URLSessionTask {
private:
    friend class URLSession;

    URLSessionDataTask(std::weak_ptr<URLSessionLoop> loop, URLRequest request,
                       std::shared_ptr<URLSessionTaskDelegate> delegate, CompletionHandler completionHandler)
        : URLSessionTask(std::move(loop), std::move(request), std::monostate{}, std::move(delegate),
                         std::move(completionHandler)) {}
};

}  // namespace foundation
