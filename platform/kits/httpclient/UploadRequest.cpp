#include "platform/kits/httpclient/UploadRequest.hpp"

#include "platform/runtime/base/Verify.hpp"

#include <atomic>

namespace httpclient {

combine::Publisher<DataResponse> UploadRequest::publishData(concurrency::Executor& queue) {
    return combine::Publisher<DataResponse>([self = shared_from_this(), &queue](combine::Receiver<DataResponse> receive) {
        auto active = std::make_shared<std::atomic<bool>>(true);
        auto deliver = [active, &queue, receive = std::move(receive)](const DataResponse& response) {
            queue.enqueue([active, receive, response] {
                if (active->exchange(false)) {
                    receive(response);
                }
            });
        };
        {
            const std::lock_guard lock(self->mutex_);
            if (!self->response_) {
                self->waiting_.push_back(std::move(deliver));
                return combine::AnyCancellable([active] { active->store(false); });
            }
        }
        deliver(*self->response_);
        return combine::AnyCancellable([active] { active->store(false); });
    });
}

void UploadRequest::complete(DataResponse response) {
    std::vector<std::function<void(const DataResponse&)>> waiting;
    {
        const std::lock_guard lock(mutex_);
        VERIFY(!response_, "a request completes once");
        response_ = std::move(response);
        waiting.swap(waiting_);
    }
    for (const auto& deliver : waiting) {
        deliver(*response_);
    }
}

}  // namespace httpclient
