#pragma once

#include "platform/runtime/foundation/http/HTTPHeaderFields.hpp"
#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/runtime/foundation/http/URLError.hpp"

#include <curl/curl.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace foundation {

// The rules every transfer of the URL session's curl engine holds to, its
// form uploads included: where a redirect may lead, how much of a reply is
// kept, and what a failed transfer amounts to. Internal to the session.

// Ends a redirect loop long before it could matter to anyone waiting.
inline constexpr long maximumRedirects = 16;

// The schemes (curl's CURLOPT_REDIR_PROTOCOLS_STR) a redirect of a request
// for `url` may lead to. Never, once the request went out encrypted, plain
// HTTP: a 307 or 308 would send the body again, in clear text, to wherever
// the redirect points.
[[nodiscard]] const char* redirectProtocols(const URL& url);

// A reply's body as curl's write callback hands it over, decoded, held in
// memory. A few kilobytes of a compressed reply can decode to gigabytes, so
// a reply over the network is held to a largest size; no reply of the
// service comes near it (a very active account's user is a few megabytes).
class ReplyBody {
public:
    // No limit holds a local file, which is the user's own and as large as it is.
    explicit ReplyBody(std::optional<std::size_t> limit) noexcept : limit_(limit) {}

    // False when the bytes would take the body past its limit, or memory ran
    // out: the write callback then ends the transfer. The room taken never
    // exceeds the limit either.
    [[nodiscard]] bool append(const char* bytes, std::size_t length) noexcept;
    [[nodiscard]] bool exceededLimit() const noexcept { return exceeded_; }
    [[nodiscard]] std::vector<std::uint8_t> take() noexcept { return std::move(bytes_); }

private:
    std::optional<std::size_t> limit_;
    bool exceeded_ = false;
    std::vector<std::uint8_t> bytes_;
};

// The header fields of the latest reply, as curl's header callback hands
// them over line by line. Every status line opens a new reply: a redirect's
// or an interim reply's fields are not the final reply's.
class ReplyHeaderFields {
public:
    // False when memory ran out: the header callback then ends the transfer.
    [[nodiscard]] bool receive(std::string_view line) noexcept;
    [[nodiscard]] const HTTPHeaderFields& fields() const noexcept { return fields_; }
    [[nodiscard]] HTTPHeaderFields take() noexcept { return std::move(fields_); }

    // Whether the line is the empty one that ends a reply's header fields.
    [[nodiscard]] static bool endsFields(std::string_view line) noexcept;

private:
    HTTPHeaderFields fields_;
};

// What a transfer of a request for `url` that curl ended with `result`
// amounts to, with the system error and the status the handle holds; a body
// past its limit, and a redirect from https to plain HTTP (told by the
// Location field of the reply that was being followed), are told apart.
[[nodiscard]] URLError::Code transferErrorCode(CURL* handle, CURLcode result, const URL& url, const ReplyBody& body,
                                               const ReplyHeaderFields& headerFields);

}  // namespace foundation
