#include "kestrova/networking/UploadProgressDelegate.hpp"

#include <utility>

namespace kestrova {

Networking::UploadProgressDelegate::UploadProgressDelegate(ProgressHandler progressHandler)
    : progressHandler_(std::move(progressHandler)) {}

void Networking::UploadProgressDelegate::didSendBodyData(foundation::URLSession& /*session*/,
                                                         foundation::URLSessionTask& /*task*/,
                                                         std::int64_t /*bytesSent*/, std::int64_t totalBytesSent,
                                                         std::int64_t totalBytesExpectedToSend) {
    // Called on the session's thread, where an exception would end the process.
    if (!progressHandler_) {
        return;
    }
    progressHandler_(static_cast<double>(totalBytesSent) / static_cast<double>(totalBytesExpectedToSend));
}

}  // namespace kestrova
