#include "platform/runtime/foundation/http/URLResponse.hpp"

namespace foundation {

URLResponse::URLResponse(URL url, std::optional<std::string> mimeType, std::int64_t expectedContentLength)
    : url_(std::move(url)), mimeType_(std::move(mimeType)), expectedContentLength_(expectedContentLength) {}

}  // namespace foundation
