#include "platform/httpclient/Session.hpp"

#include "platform/httpclient/internal/MultipartTransfer.hpp"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace httpclient {

// The transfers still running, each on a thread of its own. The threads are detached and counted
// rather than joined: the shared session lives until the process exits, and would otherwise end it
// with the thread of its last upload finished and never joined.
struct Session::Transfers {
    std::mutex mutex;
    std::condition_variable ended;
    int running = 0;
    std::atomic<bool> cancelled{false};
};

Session::Session() : transfers_(std::make_unique<Transfers>()) {
    static const bool initialised = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
    (void)initialised;
}

Session::~Session() {
    transfers_->cancelled.store(true);
    std::unique_lock lock(transfers_->mutex);
    transfers_->ended.wait(lock, [this] { return transfers_->running == 0; });
}

Session& Session::shared() {
    // Never destroyed: its transfers may outlive every caller's interest.
    static auto* const session = new Session;
    return *session;
}

std::shared_ptr<UploadRequest> Session::upload(const std::function<void(MultipartFormData&)>& multipartFormData,
                                               foundation::URLRequest request, std::uint64_t usingThreshold) {
    MultipartFormData form;
    multipartFormData(form);
    auto upload = std::make_shared<UploadRequest>();
    auto transfer = std::make_shared<MultipartTransfer>(std::move(request), std::move(form), usingThreshold);

    // Counted under the lock, which the transfer's thread needs to count itself out.
    const std::lock_guard lock(transfers_->mutex);
    std::thread([transfer, upload, transfers = transfers_.get()] {
        upload->complete(transfer->perform(transfers->cancelled));
        const std::lock_guard finished(transfers->mutex);
        if (--transfers->running == 0) {
            transfers->ended.notify_all();
        }
    }).detach();
    ++transfers_->running;
    return upload;
}

}  // namespace httpclient
