#pragma once

#include "platform/runtime/foundation/coding/CodingForward.hpp"
#include "tools/standin/StoredAccount.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace standin {

// Everything the stand-in keeps: its users and the next entry number.
struct StandinData {
    std::int64_t nextEntryId = 1;
    std::vector<StoredAccount> accounts;

    // The account whose session token this is; none for an empty or unknown token.
    [[nodiscard]] StoredAccount* accountWithToken(std::string_view token);
    [[nodiscard]] const StoredAccount* accountWithToken(std::string_view token) const;
    [[nodiscard]] StoredAccount* accountWithUsername(std::string_view username);

    // The demo user "demo" (password "demo") with a journal of every kind:
    // daily and due, done today, scheduled, private, with and without emoji.
    static StandinData demo();

    static StandinData decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
};

}  // namespace standin
