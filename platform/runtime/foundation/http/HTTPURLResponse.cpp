#include "platform/runtime/foundation/http/HTTPURLResponse.hpp"

#include <charconv>

namespace foundation {
namespace {

// "Text/HTML; charset=utf-8" is the media type "text/html".
std::optional<std::string> mimeTypeOf(const HTTPHeaderFields& fields) {
    const auto contentType = fields.value("Content-Type");
    if (!contentType) {
        return std::nullopt;
    }
    const std::string_view parameters(*contentType);
    std::string type(HTTPHeaderFields::withoutOptionalWhitespace(parameters.substr(0, parameters.find(';'))));
    if (type.empty()) {
        return std::nullopt;
    }
    for (char& c : type) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return type;
}

std::int64_t expectedLengthOf(const HTTPHeaderFields& fields) {
    const auto contentLength = fields.value("Content-Length");
    if (!contentLength) {
        return URLResponse::unknownLength;
    }
    const auto text = HTTPHeaderFields::withoutOptionalWhitespace(*contentLength);
    std::int64_t length = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    if (error != std::errc() || end != text.data() + text.size() || length < 0) {
        return URLResponse::unknownLength;
    }
    return length;
}

}  // namespace

HTTPURLResponse::HTTPURLResponse(URL url, int statusCode, HTTPHeaderFields headerFields)
    : URLResponse(std::move(url), mimeTypeOf(headerFields), expectedLengthOf(headerFields)),
      statusCode_(statusCode),
      headerFields_(std::move(headerFields)) {}

std::optional<std::string> HTTPURLResponse::value(std::string_view field) const {
    return headerFields_.value(field);
}

}  // namespace foundation
