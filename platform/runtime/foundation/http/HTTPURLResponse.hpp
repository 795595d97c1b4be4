#pragma once

#include "platform/runtime/foundation/http/HTTPHeaderFields.hpp"
#include "platform/runtime/foundation/http/URLResponse.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// The reply of an HTTP or HTTPS server: its status and its header fields.
// The URL is the final one, after any redirects were followed. Fields that
// came more than once are joined with ", ".
class HTTPURLResponse final : public URLResponse {
public:
    // The media type and the expected length are read from the fields.
    HTTPURLResponse(URL url, int statusCode, HTTPHeaderFields headerFields);

    [[nodiscard]] int statusCode() const noexcept { return statusCode_; }
    [[nodiscard]] const HTTPHeaderFields& allHeaderFields() const noexcept { return headerFields_; }
    // The name compares without regard to case.
    [[nodiscard]] std::optional<std::string> value(std::string_view field) const;

private:
    int statusCode_;
    HTTPHeaderFields headerFields_;
};

}  // namespace foundation
