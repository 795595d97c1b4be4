#include "platform/kits/httpclient/Session.hpp"

#include "platform/runtime/foundation/http/HTTPURLResponse.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"
#include "platform/runtime/foundation/http/URLSession.hpp"

#include <string>

namespace httpclient {
namespace {

ClientError sessionTaskFailed(const foundation::URLError& error) {
    if (const auto* path = error.failingFilePath()) {
        return ClientError("the file " + *path + " cannot be read: " + error.what());
    }
    return ClientError(std::string("URLSessionTask failed with error: ") + error.what());
}

ClientError redirectRefused(int status) {
    return ClientError("The server redirected the upload with status " + std::to_string(status) +
                       "; only a 307 or 308 redirect, which sends the form on unchanged, is followed.");
}

DataResponse responseOf(std::optional<foundation::Data> data,
                        const std::shared_ptr<const foundation::URLResponse>& reply,
                        const std::optional<foundation::URLError>& error) {
    DataResponse response;
    if (error) {
        response.error = sessionTaskFailed(*error);
        return response;
    }
    // A form upload only ever goes over HTTP.
    const auto& http = dynamic_cast<const foundation::HTTPURLResponse&>(*reply);
    const int status = http.statusCode();
    // The session hands a redirect back only when it did not follow it.
    if (status >= 300 && status < 400 && http.value("Location")) {
        response.error = redirectRefused(status);
        return response;
    }
    response.statusCode = status;
    response.data = std::move(*data);
    return response;
}

}  // namespace

Session::Session()
    : ownedURLSession_(std::make_unique<foundation::URLSession>()), urlSession_(*ownedURLSession_) {}

Session::Session(foundation::URLSession& urlSession) : urlSession_(urlSession) {}

Session::~Session() = default;

Session& Session::shared() {
    // Never destroyed: its transfers may outlive every caller's interest.
    static auto* const session = new Session(foundation::URLSession::shared());
    return *session;
}

std::shared_ptr<UploadRequest> Session::upload(const std::function<void(MultipartFormData&)>& multipartFormData,
                                               foundation::URLRequest request, std::uint64_t usingThreshold) {
    MultipartFormData form;
    multipartFormData(form);
    auto upload = std::make_shared<UploadRequest>();
    urlSession_
        .uploadTask(std::move(request), std::move(form), usingThreshold,
                    [upload](std::optional<foundation::Data> data,
                             std::shared_ptr<const foundation::URLResponse> response,
                             std::optional<foundation::URLError> error) {
                        upload->complete(responseOf(std::move(data), response, error));
                    })
        ->resume();
    return upload;
}

}  // namespace httpclient
