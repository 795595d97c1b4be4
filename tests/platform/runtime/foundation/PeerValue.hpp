#pragma once

#include "platform/runtime/foundation/core/Data.hpp"

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace defaults_test {

// The values that the processes of the cross-process tests write: a few
// hundred KB each, carrying who wrote them and a checksum, so that a reader
// can tell one value whole from a torn write or two writes mixed.
class PeerValue {
public:
    // Which writer (tag) and which of its writes (sequence).
    struct Identity {
        std::uint32_t tag = 0;
        std::uint32_t sequence = 0;
        friend auto operator<=>(const Identity&, const Identity&) = default;
    };

    static constexpr std::size_t defaultSize = 300 * 1024;
    // The key every writer replaces, as the application replaces the cached user.
    static constexpr std::string_view sharedKey = "user";

    // The key of its own under which a streaming writer also keeps each value.
    static std::string ownKey(Identity identity);
    // The key under which a peer that only creates the suite keeps its tag.
    static std::string writerKey(std::uint32_t tag);

    // A header with the identity and the size, a pseudo-random payload drawn
    // from the identity, and a checksum of everything before it.
    static foundation::Data make(Identity identity, std::size_t size = defaultSize);
    // The identity of a whole value; no value for anything else.
    static std::optional<Identity> identify(const foundation::Data& data);
};

}  // namespace defaults_test
