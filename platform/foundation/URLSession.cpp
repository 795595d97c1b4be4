#include "foundation/URLSession.hpp"

#include "foundation/URLSessionLoop.hpp"
#include "foundation/URLSessionTaskDelegate.hpp"

namespace foundation {

URLSession::URLSession() : loop_(std::make_shared<URLSessionLoop>(*this)) {}

URLSession::~URLSession() {
    loop_->shutdown();
}

URLSession& URLSession::shared() {
    static URLSession session;
    return session;
}

std::shared_ptr<URLSessionDataTask> URLSession::dataTask(URLRequest request,
                                                         URLSessionTask::CompletionHandler completionHandler,
                                                         std::shared_ptr<URLSessionTaskDelegate> delegate) {
    return std::shared_ptr<URLSessionDataTask>(
        new URLSessionDataTask(loop_, std::move(request), std::move(delegate), std::move(completionHandler)));
}

std::shared_ptr<URLSessionUploadTask> URLSession::uploadTask(
    URLRequest request, URL fileURL, URLSessionTask::CompletionHandler completionHandler,
    std::shared_ptr<URLSessionTaskDelegate> delegate) {
    return std::shared_ptr<URLSessionUploadTask>(new URLSessionUploadTask(
        loop_, std::move(request), std::move(fileURL), std::move(delegate), std::move(completionHandler)));
}

}  // namespace foundation
