#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace foundation {

class Hasher;

// An absolute or relative URL reference, parsed without a base (RFC 3986).
// The text is kept exactly as given; the accessors read its components.
class URL {
public:
    // No value when the text is empty or not a URL reference: a character that
    // must be percent-encoded (a blank, a raw non-ASCII letter) is refused, not
    // escaped.
    static std::optional<URL> fromString(std::string_view text);
    // The file URL of a filesystem path, its characters percent-encoded as a
    // path needs them. A relative path is taken from the current directory; a
    // directory's URL ends in "/", so that appended components go inside it.
    static URL fileURL(std::string_view path, bool isDirectory = false);

    [[nodiscard]] const std::string& absoluteString() const noexcept { return text_; }
    // Lower case, as schemes compare; empty when the reference has none.
    [[nodiscard]] std::string scheme() const;
    [[nodiscard]] std::optional<std::string> user() const;
    [[nodiscard]] std::optional<std::string> password() const;
    // Without the port, an IP literal without its brackets; no value for an
    // empty host ("file:///tmp").
    [[nodiscard]] std::optional<std::string> host() const;
    [[nodiscard]] std::optional<int> port() const;
    // Percent-decoded, without a trailing "/" (except for the root path "/");
    // for a file URL, the filesystem path.
    [[nodiscard]] std::string path() const;
    // Percent-encoded, as written.
    [[nodiscard]] std::optional<std::string> query() const;
    [[nodiscard]] std::optional<std::string> fragment() const;
    [[nodiscard]] bool isFileURL() const;

    // The path with the component after it, joined by exactly one "/"; the
    // component is percent-encoded (a "/" in it stays a separator), the query
    // and fragment are kept.
    [[nodiscard]] URL appendingPathComponent(std::string_view component) const;

    friend bool operator==(const URL&, const URL&) = default;
    void hash(Hasher& hasher) const;

private:
    explicit URL(std::string text) : text_(std::move(text)) {}
    std::string text_;
};

}  // namespace foundation
