#pragma once

#include "kestrova/model/Journal.hpp"
#include "platform/kits/ui/View.hpp"

#include <cstdint>

namespace pellicor {

// A journal's streak at a glance: a ring, in the daily colour once the journal is posted today and
// grey before, around the streak's length (or a checkmark), with a clock badge for a scheduled
// journal.
struct DailyCircle {
    std::int64_t streak = 0;
    bool postedToday = false;
    // The streak is still alive: its next day is today or later.
    bool isStreakActive = false;
    // A short line down from a circle posted today, towards the next one.
    bool bottomConnectorLine = false;
    bool isScheduled = false;
    // The streak's length (true) or a checkmark (false).
    bool shouldDisplayStreak = false;
    double size = 0;
    double fontSize = 0;
    double lineWidth = 0;

    // The small circle of a journal row or a Journal widget, with no connector.
    [[nodiscard]] static DailyCircle forJournal(const kestrova::Journal& journal);

    [[nodiscard]] ui::View body() const;

private:
    [[nodiscard]] ui::View mark() const;
    [[nodiscard]] ui::View ring(const ui::Color& color) const;
    [[nodiscard]] ui::View connector() const;
    [[nodiscard]] ui::View clockBadge() const;
};

}  // namespace pellicor
