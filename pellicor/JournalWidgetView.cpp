#include "pellicor/JournalWidgetView.hpp"

#include "pellicor/DailyCircle.hpp"
#include "pellicor/JournalIcon.hpp"
#include "pellicor/WidgetFrames.hpp"
#include "pellicor/WidgetColors.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"

#include <optional>
#include <string>
#include <vector>

namespace pellicor {

ui::View JournalWidgetView::body() const {
    const kestrova::Journal& journal = entry.journal;

    std::vector<ui::View> topRow{ui::Spacer()};
    if (journal.isDaily.value_or(false) || journal.isScheduled.value_or(false)) {
        topRow.push_back(DailyCircle::forJournal(journal));
    }

    std::vector<ui::View> details;
    if (auto icon = journalIconView(journal, 32.0)) {
        details.push_back(std::move(*icon));
    }
    details.push_back(ui::Text::verbatim(journal.title.str()).font(ui::Font::system(18)).fontWeight(ui::Font::Weight::medium));
    details.push_back(ui::Text(ui::LocalizedStringKey("%lld entries today", {journal.entriesToday.value_or(0)}))
                          .font(ui::Font::caption())
                          .foregroundColor(darkGrayColor()));

    const auto destination = journal.createEntryURL();
    return ui::VStack({ui::HStack(std::move(topRow)), ui::Spacer(),
                       ui::VStack(std::move(details), ui::HorizontalAlignment::leading)},
                      ui::HorizontalAlignment::leading)
        .padding()
        .frame(fillingFrame(ui::Alignment::center()))
        .background(ui::ColorView(ui::Color::black()).ignoresSafeArea())
        .colorScheme(ui::ColorScheme::dark)
        .preferredColorScheme(ui::ColorScheme::dark)
        .widgetURL(destination ? std::optional<std::string>(destination->absoluteString()) : std::nullopt);
}

}  // namespace pellicor
