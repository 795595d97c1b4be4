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
    // No value when the text is not a URL reference.
    static std::optional<URL> fromString(std::string_view text);

    [[nodiscard]] const std::string& absoluteString() const noexcept { return text_; }
    // Lower case, as schemes compare; empty when the reference has none.
    [[nodiscard]] std::string scheme() const;
    [[nodiscard]] std::optional<std::string> host() const;
    [[nodiscard]] bool isFileURL() const;

    friend bool operator==(const URL&, const URL&) = default;
    void hash(Hasher& hasher) const;

private:
    explicit URL(std::string text) : text_(std::move(text)) {}
    std::string text_;
};

}  // namespace foundation
