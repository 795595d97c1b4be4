#include "pellicor/KestrovaWidgets.hpp"

#include "pellicor/DailyTimelineProvider.hpp"
#include "pellicor/DailyWidgetView.hpp"
#include "pellicor/JournalWidgetProvider.hpp"
#include "pellicor/JournalWidgetView.hpp"
#include "pellicor/Store.hpp"

#include <memory>

namespace pellicor {

widgetkit::WidgetConfiguration DailyWidget::body() const {
    using widgetkit::WidgetFamily;
    return widgetkit::StaticConfiguration<DailyEntry>(
               kind, std::make_shared<const DailyTimelineProvider>(Store::shared()),
               [](const DailyEntry& entry) -> ui::View {
                   return DailyWidgetView{entry.journals, entry.numberOfEntriesToday, entry.percentageToday};
               })
        .configurationDisplayName("Today")
        .description("Check your daily journals.")
        .supportedFamilies({WidgetFamily::systemSmall, WidgetFamily::systemMedium, WidgetFamily::systemLarge});
}

widgetkit::WidgetConfiguration JournalWidget::body() const {
    return widgetkit::IntentConfiguration<JournalWidgetProvider>(
               "JournalWidget", std::make_shared<const JournalWidgetProvider>(Store::shared()),
               [](const JournalEntry& entry) -> ui::View { return JournalWidgetView{entry}; })
        .configurationDisplayName("Journal")
        .description("Get quick access to one of your journals.")
        .supportedFamilies({widgetkit::WidgetFamily::systemSmall});
}

std::vector<widgetkit::WidgetConfiguration> KestrovaWidgets::body() const {
    return {DailyWidget{}.body(), JournalWidget{}.body()};
}

}  // namespace pellicor
