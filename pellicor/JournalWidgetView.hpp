#pragma once

#include "pellicor/JournalEntry.hpp"
#include "platform/kits/ui/View.hpp"

namespace pellicor {

// The Journal widget: a dark card with the journal's streak circle at the top trailing corner and
// its icon, title and today's entry count at the bottom leading one. A click anywhere opens the
// journal's publish page in the application.
struct JournalWidgetView {
    JournalEntry entry;

    [[nodiscard]] ui::View body() const;
};

}  // namespace pellicor
