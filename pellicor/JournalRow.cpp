#include "pellicor/JournalRow.hpp"

#include "pellicor/DailyCircle.hpp"
#include "pellicor/JournalIcon.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"

#include <vector>

namespace pellicor {

ui::View JournalRow::body() const {
    constexpr double iconSide = 14.0;
    std::vector<ui::View> children{DailyCircle::forJournal(journal)};
    if (auto icon = journalIconView(journal, iconSide)) {
        children.push_back(icon->padding(ui::Edge::leading, 2.0));
    }
    children.push_back(ui::Text::verbatim(journal.title.str())
                           .font(ui::Font::system(14.0))
                           .fontWeight(ui::Font::Weight::medium)
                           .view()
                           .lineLimit(1));
    return ui::HStack(std::move(children));
}

}  // namespace pellicor
