#pragma once

#include "platform/kits/widgetkit/WidgetBundle.hpp"
#include "platform/kits/widgetkit/WidgetConfiguration.hpp"

#include <string>
#include <vector>

namespace pellicor {

// The "Today" widget: the due journals of the day with their streaks and the day's progress.
struct DailyWidget {
    std::string kind = "DailyWidget";

    [[nodiscard]] widgetkit::WidgetConfiguration body() const;
};

// The "Journal" widget: one journal the user picks, a click away from its publish page.
struct JournalWidget {
    [[nodiscard]] widgetkit::WidgetConfiguration body() const;
};

// The extension's widgets, "Today" first. Their kinds name the placed widgets the host keeps, so
// they never change.
class KestrovaWidgets final : public widgetkit::WidgetBundle {
public:
    [[nodiscard]] std::vector<widgetkit::WidgetConfiguration> body() const override;
};

}  // namespace pellicor
