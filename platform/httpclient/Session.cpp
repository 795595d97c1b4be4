#include "platform/httpclient/Session.hpp"

#include "platform/httpclient/internal/MultipartTransfer.hpp"

#include <atomic>
#include <thread>

namespace httpclient {

// The threads of the transfers still running, or finished and not yet joined.
struct Session::Transfers {
    struct Running {
        std::thread thread;
        std::atomic<bool> finished{false};
    };

    std::mutex mutex;
    std::list<Running> running;
    std::atomic<bool> cancelled{false};

    // Joins the threads that are done, so that a long-lived session does
    // not collect them.
    void reap() {
        const std::lock_guard lock(mutex);
        for (auto it = running.begin(); it != running.end();) {
            if (it->finished.load(std::memory_order_acquire)) {
                it->thread.join();
                it = running.erase(it);
            } else {
                ++it;
            }
        }
    }
};

Session::Session() : transfers_(std::make_unique<Transfers>()) {
    static const bool initialised = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
    (void)initialised;
}

Session::~Session() {
    transfers_->cancelled.store(true);
    const std::lock_guard lock(transfers_->mutex);
    for (auto& each : transfers_->running) {
        each.thread.join();
    }
}

Session& Session::shared() {
    // Never destroyed: its transfers may outlive every caller's interest.
    static auto* const session = new Session;
    return *session;
}

std::shared_ptr<UploadRequest> Session::upload(const std::function<void(MultipartFormData&)>& multipartFormData,
                                               foundation::URLRequest request, std::uint64_t usingThreshold) {
    transfers_->reap();
    MultipartFormData form;
    multipartFormData(form);
    auto upload = std::make_shared<UploadRequest>();
    auto transfer = std::make_shared<MultipartTransfer>(std::move(request), std::move(form), usingThreshold);

    const std::lock_guard lock(transfers_->mutex);
    auto& running = transfers_->running.emplace_back();
    running.thread = std::thread([transfer, upload, &running, transfers = transfers_.get()] {
        upload->complete(transfer->perform(transfers->cancelled));
        running.finished.store(true, std::memory_order_release);
    });
    return upload;
}

}  // namespace httpclient
