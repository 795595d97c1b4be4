#pragma once

#include "platform/runtime/foundation/coding/CodingForward.hpp"
#include "tools/standin/StoredEntry.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin {

// One journal as the stand-in keeps it: what its owner set and the streak
// the entries built. What the API adds (due, done today, counts) follows from
// these and the day of the request.
struct StoredJournal {
    std::int64_t id = 0;
    std::string title{};
    std::string description{};
    std::string slug{};
    std::optional<std::string> iconEmoji{};
    bool isDaily = false;
    // Due on the days of its schedule; the stand-in counts every day as one.
    bool isScheduled = false;
    bool isPrivate = false;
    std::int64_t streak = 0;
    // The last day counted in the streak, "yyyy-MM-dd".
    std::optional<std::string> streakDate{};
    std::vector<StoredEntry> entries{};

    [[nodiscard]] bool isDoneOn(const std::string& day) const { return streakDate == day; }
    // A journal due on a day stays due once it is done: the clients count the
    // done journals among the due ones (the ring's share, the widgets' lists).
    [[nodiscard]] bool isDue() const { return isDaily || isScheduled; }

    static StoredJournal decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
};

}  // namespace standin
