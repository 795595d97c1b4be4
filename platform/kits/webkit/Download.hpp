#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

#include <optional>

namespace webkit {

class DownloadDelegate;

// One download of a web view. The engine owns it; the delegate is not owned and must outlive it.
class Download {
public:
    explicit Download(std::optional<foundation::URL> originalURL) : originalURL_(std::move(originalURL)) {}
    virtual ~Download() = default;
    Download(const Download&) = delete;
    Download& operator=(const Download&) = delete;

    [[nodiscard]] const std::optional<foundation::URL>& originalURL() const noexcept { return originalURL_; }

    [[nodiscard]] DownloadDelegate* delegate() const noexcept { return delegate_; }
    void setDelegate(DownloadDelegate* delegate) noexcept { delegate_ = delegate; }

private:
    std::optional<foundation::URL> originalURL_;
    DownloadDelegate* delegate_ = nullptr;
};

}  // namespace webkit
