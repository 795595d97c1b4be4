#pragma once

#include "platform/runtime/foundation/coding/CodingForward.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin {

// One published entry as the stand-in keeps it in its data file.
struct StoredEntry {
    // One block: a text, or a file whose bytes lie in the state directory's
    // "files" folder under the entry's id and the block's index.
    struct Block {
        std::int64_t index = 0;
        std::string type{};
        std::optional<std::string> text{};
        std::optional<std::string> fileName{};
        std::optional<std::string> mimeType{};
        std::optional<std::int64_t> size{};

        static Block decode(foundation::Decoder& decoder);
        void encode(foundation::Encoder& encoder) const;
    };

    std::int64_t id = 0;
    std::int64_t journalId = 0;
    // The calendar day the entry counts for, "yyyy-MM-dd".
    std::string streakDate{};
    bool isPrivate = false;
    bool isPartOfStreak = false;
    // When it was published, in the server's date text.
    std::string createdAt{};
    std::vector<Block> blocks{};

    static StoredEntry decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
};

}  // namespace standin
