#pragma once

#include "platform/runtime/combine/Publisher.hpp"
#include "platform/runtime/concurrency/Executor.hpp"
#include "platform/kits/httpclient/DataResponse.hpp"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace httpclient {

// One upload handed to a session. Its response comes once, when the
// transfer ends; subscribers made before or after that all receive it.
class UploadRequest : public std::enable_shared_from_this<UploadRequest> {
public:
    UploadRequest() = default;
    UploadRequest(const UploadRequest&) = delete;
    UploadRequest& operator=(const UploadRequest&) = delete;

    // The response's raw bytes, delivered once on `queue` (the main actor for
    // the main queue). Cancelling the subscription before then drops the
    // delivery; the transfer itself runs on.
    [[nodiscard]] combine::Publisher<DataResponse> publishData(concurrency::Executor& queue);

    // Called by the session's transfer, once, from its thread.
    void complete(DataResponse response);

private:
    std::mutex mutex_;
    std::optional<DataResponse> response_;
    std::vector<std::function<void(const DataResponse&)>> waiting_;
};

}  // namespace httpclient
