#include "platform/runtime/foundation/http/URLRequest.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace foundation {
namespace {

// RFC 9110 token characters: what a method and a field name may consist of.
bool isTokenCharacter(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return true;
    }
    return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool isToken(std::string_view text) {
    return !text.empty() && std::ranges::all_of(text, isTokenCharacter);
}

void requireFieldName(std::string_view field) {
    if (!isToken(field)) {
        throw std::invalid_argument("the header field name \"" + std::string(field) +
                                    "\" is not a valid HTTP field name");
    }
}

void requireFieldValue(std::string_view value, std::string_view field) {
    if (!URLRequest::isValidHeaderValue(value)) {
        throw std::invalid_argument("the value of the header field \"" + std::string(field) +
                                    "\" holds a line break or NUL character");
    }
}

void requireTimeout(double seconds) {
    if (!(seconds > 0.0) || !std::isfinite(seconds)) {
        throw std::invalid_argument("a request time-out must be a positive number of seconds");
    }
}

}  // namespace

URLRequest::URLRequest(URL url, CachePolicy cachePolicy, double timeoutInterval)
    : url_(std::move(url)), cachePolicy_(cachePolicy), timeoutInterval_(timeoutInterval) {
    requireTimeout(timeoutInterval);
}

std::string URLRequest::httpMethod() const {
    return httpMethod_.value_or("GET");
}

void URLRequest::setHTTPMethod(std::optional<std::string_view> method) {
    if (method && !isToken(*method)) {
        throw std::invalid_argument("\"" + std::string(*method) + "\" is not a valid HTTP method");
    }
    httpMethod_ = method ? std::optional<std::string>(*method) : std::nullopt;
}

void URLRequest::setTimeoutInterval(double seconds) {
    requireTimeout(seconds);
    timeoutInterval_ = seconds;
}

void URLRequest::setLargestReplyLength(std::size_t bytes) {
    if (bytes > defaultLargestReplyLength) {
        throw std::invalid_argument("a request's largest reply length can be at most " +
                                    std::to_string(defaultLargestReplyLength) + " bytes");
    }
    largestReplyLength_ = bytes;
}

void URLRequest::addValue(std::string_view value, std::string_view field) {
    requireFieldName(field);
    requireFieldValue(value, field);
    headerFields_.append(field, value, ",");
}

void URLRequest::setValue(std::optional<std::string_view> value, std::string_view field) {
    requireFieldName(field);
    if (!value) {
        headerFields_.remove(field);
        return;
    }
    requireFieldValue(*value, field);
    headerFields_.set(field, *value);
}

std::optional<std::string> URLRequest::value(std::string_view field) const {
    return headerFields_.value(field);
}

bool URLRequest::isValidHeaderValue(std::string_view value) noexcept {
    return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace foundation
