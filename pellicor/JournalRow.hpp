#pragma once

#include "kestrova/model/Journal.hpp"
#include "platform/kits/ui/View.hpp"

namespace pellicor {

// One journal in the Today widget's list: its streak circle, its icon and its title on one line.
struct JournalRow {
    kestrova::Journal journal;

    [[nodiscard]] ui::View body() const;
};

}  // namespace pellicor
