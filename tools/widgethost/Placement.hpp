#pragma once

#include "kestrova/intents/SelectJournalIntent.hpp"
#include "platform/kits/widgetkit/WidgetFamily.hpp"

#include <memory>
#include <string>

namespace widgethost {

// One widget placed on the board: which widget, in which family, and for the "Journal" widget the
// journal it shows (none until the user picks one).
struct Placement {
    std::string kind;
    widgetkit::WidgetFamily family = widgetkit::WidgetFamily::systemSmall;
    std::shared_ptr<const kestrova::SelectJournalIntent> configuration;

    // The identifier of the configured journal; none for a widget without one.
    [[nodiscard]] std::optional<std::string> journalIdentifier() const {
        const auto journal = configuration ? configuration->journal() : nullptr;
        return journal ? journal->identifier() : std::nullopt;
    }
};

// The widget kinds the host knows to configure.
inline constexpr std::string_view dailyWidgetKind = "DailyWidget";
inline constexpr std::string_view journalWidgetKind = "JournalWidget";

// A configuration that shows the journal, archived as the widget's intent.
[[nodiscard]] std::shared_ptr<const kestrova::SelectJournalIntent> journalConfiguration(std::string identifier,
                                                                                        std::string display);

}  // namespace widgethost
