#pragma once

#include "platform/runtime/foundation/http/URLSessionTaskDelegate.hpp"

#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace foundation {

// Keeps every sent-bytes report with the thread it came on.
class RecordingDelegate final : public URLSessionTaskDelegate {
public:
    struct Report {
        std::int64_t bytesSent;
        std::int64_t totalBytesSent;
        std::int64_t totalBytesExpected;
        std::thread::id thread;
    };

    void didSendBodyData(URLSession&, URLSessionTask&, std::int64_t bytesSent, std::int64_t totalBytesSent,
                         std::int64_t totalBytesExpectedToSend) override {
        const std::lock_guard lock(mutex_);
        reports_.push_back({bytesSent, totalBytesSent, totalBytesExpectedToSend, std::this_thread::get_id()});
    }

    [[nodiscard]] std::vector<Report> reports() const {
        const std::lock_guard lock(mutex_);
        return reports_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Report> reports_;
};

}  // namespace foundation
