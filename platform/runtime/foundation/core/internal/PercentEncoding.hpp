#pragma once

#include <string>
#include <string_view>

namespace foundation {

// Percent-encoding of URL components (RFC 3986). Each component may hold its
// own set of characters as they are; every other byte, a "%" included, is
// written as "%" and two upper-case hexadecimal digits.
class PercentEncoding {
public:
    enum class Component {
        user,
        password,
        host,
        // The inside of a bracketed IP literal: an IPv6 address, maybe with a zone.
        ipLiteral,
        path,
        query,
        fragment,
        // A name or a value inside a query: also escapes "&", "=" and "+", so that
        // the item reads back as it was written.
        queryItem,
    };

    [[nodiscard]] static std::string encode(std::string_view text, Component component);
    // True when every byte is one the component may hold as it is, or a "%"
    // followed by two hexadecimal digits.
    [[nodiscard]] static bool isEncoded(std::string_view text, Component component);
    // The bytes that the escapes stand for. Text that is not validly encoded
    // comes back unchanged: callers decode only what passed isEncoded.
    [[nodiscard]] static std::string decode(std::string_view encoded);
};

}  // namespace foundation
