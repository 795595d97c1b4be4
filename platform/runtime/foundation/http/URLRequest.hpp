#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/http/HTTPHeaderFields.hpp"
#include "platform/runtime/foundation/core/URL.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// What to send: the address, the method, the header fields and the body,
// with how long the transfer may go without progress before it fails.
//
// Header names and values are checked as they are given: a name that is no
// HTTP token, or a value holding CR, LF or NUL, throws std::invalid_argument
// and leaves the request as it was, so no field can smuggle in a second
// header or a second request.
class URLRequest {
public:
    // The session keeps no cache of its own, so the protocol's policy is the only one.
    enum class CachePolicy { useProtocolCachePolicy };

    static constexpr double defaultTimeoutInterval = 60.0;
    // A reply is held in memory once decoded, and a few kilobytes of a
    // compressed one can decode to gigabytes. No reply of the service comes
    // near this (a very active account's user is a few megabytes).
    static constexpr std::size_t defaultLargestReplyLength = std::size_t{64} << 20;

    explicit URLRequest(URL url, CachePolicy cachePolicy = CachePolicy::useProtocolCachePolicy,
                        double timeoutInterval = defaultTimeoutInterval);

    [[nodiscard]] const URL& url() const noexcept { return url_; }
    void setURL(URL url) { url_ = std::move(url); }

    // "GET" while no method has been set.
    [[nodiscard]] std::string httpMethod() const;
    // No value restores the default; a method that is no HTTP token throws std::invalid_argument.
    void setHTTPMethod(std::optional<std::string_view> method);

    [[nodiscard]] const std::optional<Data>& httpBody() const noexcept { return httpBody_; }
    void setHTTPBody(std::optional<Data> body) { httpBody_ = std::move(body); }

    // Seconds the transfer may go without sending or receiving a byte; waiting
    // for a connection and connecting count as such time.
    [[nodiscard]] double timeoutInterval() const noexcept { return timeoutInterval_; }
    // A value that is not a positive number of seconds throws std::invalid_argument.
    void setTimeoutInterval(double seconds);

    [[nodiscard]] CachePolicy cachePolicy() const noexcept { return cachePolicy_; }

    // The most an HTTP reply's body may decode to: the transfer ends with
    // URLError dataLengthExceedsMaximum as soon as it goes past, so no more
    // than this is ever held. A caller that knows its replies are small
    // lowers it; a value above the default throws std::invalid_argument.
    [[nodiscard]] std::size_t largestReplyLength() const noexcept { return largestReplyLength_; }
    void setLargestReplyLength(std::size_t bytes);

    // Joins the value to an earlier one of the same field with ",", so the
    // field goes out once with both values.
    void addValue(std::string_view value, std::string_view field);
    // Replaces any earlier value of the field; no value removes the field.
    void setValue(std::optional<std::string_view> value, std::string_view field);
    // The name compares without regard to case.
    [[nodiscard]] std::optional<std::string> value(std::string_view field) const;
    // Whether a header field may carry the value: it holds no CR, LF or NUL.
    [[nodiscard]] static bool isValidHeaderValue(std::string_view value) noexcept;
    [[nodiscard]] const HTTPHeaderFields& allHTTPHeaderFields() const noexcept { return headerFields_; }

private:
    URL url_;
    CachePolicy cachePolicy_;
    double timeoutInterval_;
    std::size_t largestReplyLength_ = defaultLargestReplyLength;
    std::optional<std::string> httpMethod_;
    HTTPHeaderFields headerFields_;
    std::optional<Data> httpBody_;
};

}  // namespace foundation
