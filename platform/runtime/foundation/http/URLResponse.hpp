#pragma once

#include "platform/runtime/foundation/core/URL.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace foundation {

// What came back, whatever the protocol: the address that answered, the
// length the reply announced and its media type. HTTP replies are the
// derived HTTPURLResponse; callers that need a status tell the two apart
// with a dynamic cast.
class URLResponse {
public:
    static constexpr std::int64_t unknownLength = -1;

    URLResponse(URL url, std::optional<std::string> mimeType, std::int64_t expectedContentLength);
    virtual ~URLResponse() = default;

    URLResponse(const URLResponse&) = default;
    URLResponse& operator=(const URLResponse&) = default;

    [[nodiscard]] const URL& url() const noexcept { return url_; }
    // Lower case, without parameters such as the charset; no value when not known.
    [[nodiscard]] const std::optional<std::string>& mimeType() const noexcept { return mimeType_; }
    // unknownLength when the reply did not say.
    [[nodiscard]] std::int64_t expectedContentLength() const noexcept { return expectedContentLength_; }

private:
    URL url_;
    std::optional<std::string> mimeType_;
    std::int64_t expectedContentLength_;
};

}  // namespace foundation
