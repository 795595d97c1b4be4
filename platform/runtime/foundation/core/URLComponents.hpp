#pragma once

#include "platform/runtime/foundation/core/URL.hpp"
#include "platform/runtime/foundation/core/URLQueryItem.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// The parts of a URL reference, to read and to rebuild. Each part is kept in
// the percent-encoded form it was parsed in, so that a rebuilt text differs
// from the parsed one only in the parts that were set; the decoded setters
// encode what they are given.
class URLComponents {
public:
    // No components: string() is the empty text, url() has no value.
    URLComponents() = default;
    // Never resolves against a base. No value when the text is not a URL reference.
    static std::optional<URLComponents> fromString(std::string_view text);
    explicit URLComponents(const URL& url);

    // As written, not lower-cased.
    [[nodiscard]] const std::optional<std::string>& scheme() const noexcept { return scheme_; }
    [[nodiscard]] std::optional<std::string> user() const;
    [[nodiscard]] std::optional<std::string> password() const;
    // An IP literal without its brackets. Empty, not absent, for "kestrova://".
    [[nodiscard]] std::optional<std::string> host() const;
    // No value when the port is missing or written empty ("http://host:/").
    [[nodiscard]] std::optional<int> port() const;
    [[nodiscard]] std::string path() const;
    [[nodiscard]] std::optional<std::string> query() const;
    [[nodiscard]] std::optional<std::string> fragment() const;

    using Part = std::optional<std::string>;
    [[nodiscard]] const Part& percentEncodedUser() const noexcept { return user_; }
    [[nodiscard]] const Part& percentEncodedPassword() const noexcept { return password_; }
    // An IP literal with its brackets.
    [[nodiscard]] const Part& percentEncodedHost() const noexcept { return host_; }
    [[nodiscard]] const std::string& percentEncodedPath() const noexcept { return path_; }
    [[nodiscard]] const Part& percentEncodedQuery() const noexcept { return query_; }
    [[nodiscard]] const Part& percentEncodedFragment() const noexcept { return fragment_; }

    // The items of the query in order; no value when there is no query, none
    // for an empty one. "+" reads as "+", not as a blank.
    [[nodiscard]] std::optional<std::vector<URLQueryItem>> queryItems() const;
    // The first item of that name.
    [[nodiscard]] std::optional<URLQueryItem> queryItem(std::string_view name) const;

    void setScheme(std::optional<std::string> scheme) { scheme_ = std::move(scheme); }
    void setUser(const std::optional<std::string>& user);
    void setPassword(const std::optional<std::string>& password);
    // A host with a ":" is taken as an IPv6 address and bracketed.
    void setHost(const std::optional<std::string>& host);
    void setPort(std::optional<int> port);
    void setPath(std::string_view path);
    // Throws std::invalid_argument for a character that a path must not hold
    // as it is, or a broken escape.
    void setPercentEncodedPath(std::string path);
    void setQuery(const std::optional<std::string>& query);
    // No value removes the query; an empty list leaves an empty one ("?").
    void setQueryItems(const std::optional<std::vector<URLQueryItem>>& items);
    void setFragment(const std::optional<std::string>& fragment);

    // No value when the parts make no URL reference that reads back as these
    // same parts: a path not starting with "/" after a host, a user or port
    // without a host, a scheme with characters a scheme cannot have, ...
    [[nodiscard]] std::optional<std::string> string() const;
    // As string(), and no value for the empty text either.
    [[nodiscard]] std::optional<URL> url() const;

    friend bool operator==(const URLComponents&, const URLComponents&) = default;

private:
    std::optional<std::string> scheme_;
    std::optional<std::string> user_;
    std::optional<std::string> password_;
    std::optional<std::string> host_;
    // The digits as written, so that "080" and an empty port survive a rebuild.
    std::optional<std::string> port_;
    std::string path_;
    std::optional<std::string> query_;
    std::optional<std::string> fragment_;
};

}  // namespace foundation
