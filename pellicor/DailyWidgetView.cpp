#include "pellicor/DailyWidgetView.hpp"

#include "pellicor/DailyProgressView.hpp"
#include "pellicor/GatedModifiers.hpp"
#include "pellicor/JournalDays.hpp"
#include "pellicor/JournalFitting.hpp"
#include "pellicor/JournalRow.hpp"
#include "pellicor/WidgetFrames.hpp"
#include "pellicor/WidgetColors.hpp"
#include "platform/kits/ui/Controls.hpp"
#include "platform/kits/ui/Image.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"
#include "platform/kits/widgetkit/WidgetFamily.hpp"

#include <algorithm>
#include <string>

namespace pellicor {
namespace {

constexpr std::size_t rectangularLines = 3;

ui::View entriesToday(std::int64_t count) {
    return ui::Text(ui::LocalizedStringKey("%lld entries today", {count}));
}

ui::View rowLink(const kestrova::Journal& journal) {
    const ui::View row = JournalRow{journal};
    const auto destination = journal.createEntryURL();
    const ui::View linked = destination ? ui::Link(destination->absoluteString(), row) : row;
    return linked.id(std::to_string(journal.id));
}

// One line of the rectangular accessory: the icon picture and the title, or the emoji and title
// as one text.
ui::View accessoryLine(const kestrova::Journal& journal) {
    if (journal.iconImageData) {
        const auto bytes = journal.iconImageData->bytes();
        if (auto picture = ui::Image::fromData(std::vector<std::uint8_t>(bytes.begin(), bytes.end()))) {
            return ui::HStack({picture->resizable().view().scaledToFit(), ui::Text::verbatim(" " + journal.title.str())},
                              ui::VerticalAlignment::center, 0);
        }
    }
    if (journal.iconEmoji) {
        return ui::Text::verbatim(journal.iconEmoji->str() + " " + journal.title.str());
    }
    return ui::Text::verbatim(journal.title.str());
}

}  // namespace

ui::View DailyWidgetView::body() const {
    return ui::EnvironmentReader([view = *this](const ui::EnvironmentValues& environment) {
        switch (const auto family = widgetkit::widgetFamily(environment)) {
        case widgetkit::WidgetFamily::systemSmall:
        case widgetkit::WidgetFamily::systemMedium:
        case widgetkit::WidgetFamily::systemLarge:
        case widgetkit::WidgetFamily::systemExtraLarge:
            return view.journalList(family);
        case widgetkit::WidgetFamily::accessoryCircular:
            return view.circularAccessory();
        case widgetkit::WidgetFamily::accessoryRectangular:
            return view.rectangularAccessory();
        case widgetkit::WidgetFamily::accessoryInline:
            return entriesToday(view.numberOfEntriesToday);
        }
        // A family this view was not made for.
        return ui::Text("Not Implemented").view();
    });
}

ui::View DailyWidgetView::journalList(widgetkit::WidgetFamily family) const {
    return ui::GeometryReader([view = *this, family](const ui::GeometryProxy& geometry) {
               std::vector<ui::View> columns;
               if (view.journals.empty()) {
                   columns.push_back(ui::Text("There are no journals for Today.")
                                         .font(ui::Font::footnote())
                                         .view()
                                         .multilineTextAlignment(ui::TextAlignment::center)
                                         .padding());
               } else {
                   const auto shown = journalsFittingWidget(view.journals, family, geometry.size.height);
                   columns.push_back(ui::VStack(ui::ForEach(shown, rowLink), ui::HorizontalAlignment::leading).padding());
               }
               if (family != widgetkit::WidgetFamily::systemSmall) {
                   columns.push_back(ui::Spacer());
                   columns.push_back(ui::View(DailyProgressView{view.percentageToday, view.numberOfEntriesToday})
                                         .padding(ui::Edge::trailing)
                                         .padding(ui::Edge::trailing));
               }
               return ui::HStack(std::move(columns)).frame(geometry.size.width, geometry.size.height);
           })
        .frame(fillingFrame(ui::Alignment::center()))
        .background(ui::ColorView(ui::Color::black()).ignoresSafeArea())
        .colorScheme(ui::ColorScheme::dark);
}

ui::View DailyWidgetView::circularAccessory() const {
    const ui::View ring = widgetAccentableIfAvailable(
        tintIfAvailable(ui::ProgressView(static_cast<double>(percentageToday), 1.0), dailyColor()));
    const ui::View count = privacySensitiveIfAvailable(
        ui::Text::verbatim(std::to_string(numberOfEntriesToday)).font(ui::Font::title()));
    return ui::ZStack({ring, count});
}

ui::View DailyWidgetView::rectangularAccessory() const {
    const auto notDone = journalsNotDoneToday(journals);
    std::vector<ui::View> lines;
    if (notDone.empty()) {
        lines.push_back(ui::Label("All Done", "checkmark.circle"));
    }
    for (std::size_t i = 0; i < std::min(notDone.size(), rectangularLines); ++i) {
        lines.push_back(accessoryLine(notDone[i]).id(std::to_string(notDone[i].id)));
    }
    return ui::VStack(std::move(lines), ui::HorizontalAlignment::leading, 0)
        .lineLimit(1)
        .frame(fillingFrame(ui::Alignment::leading()));
}

}  // namespace pellicor
