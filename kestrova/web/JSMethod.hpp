#pragma once

#include "platform/runtime/foundation/coding/CodingForward.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrova {

// The names under which the web page posts script messages, one per native action. Compared and
// hashed by case; coded as its raw text, which is the case's name.
class JSMethod {
public:
    enum Case : std::uint8_t {
        onPublishedEntry,
        onRefreshData,
        onLogin,
        onLogout,
        onPlayPublishSound,
        onPlayWaterPublishSound,
        onPlayMessageSentSound,
        onPlayMessageReceivedSound,
    };

    constexpr JSMethod(Case value) noexcept : value_(value) {}  // NOLINT: a case is a JSMethod

    // Every case, in declaration order: the order the names are registered with the web view in.
    static constexpr std::array<JSMethod, 8> allCases() {
        return {onPublishedEntry,   onRefreshData,           onLogin,
                onLogout,           onPlayPublishSound,      onPlayWaterPublishSound,
                onPlayMessageSentSound, onPlayMessageReceivedSound};
    }

    // The case whose raw value is exactly this text (letter case counts); none for any other text.
    static std::optional<JSMethod> fromRawValue(std::string_view rawValue);
    [[nodiscard]] std::string_view rawValue() const noexcept;
    [[nodiscard]] constexpr Case value() const noexcept { return value_; }

    // Performs the case's action; on the main actor. Returns at once: refreshes and sign-out run
    // afterwards in tasks of their own.
    void handle() const;

    friend constexpr bool operator==(JSMethod, JSMethod) = default;
    void hash(foundation::Hasher& hasher) const;

    // A text that is no raw value fails with DecodingError dataCorrupted.
    static JSMethod decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;

private:
    Case value_;
};

// The script-message dispatcher: performs the method's action. On the main actor; never fails.
void handleJSMethod(JSMethod method);

}  // namespace kestrova
