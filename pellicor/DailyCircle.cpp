#include "pellicor/DailyCircle.hpp"

#include "pellicor/JournalDays.hpp"
#include "pellicor/WidgetColors.hpp"
#include "platform/kits/ui/Image.hpp"
#include "platform/kits/ui/Shape.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"

#include <string>
#include <vector>

namespace pellicor {
namespace {

// The grey of a mark not yet posted today.
const ui::Color& notPostedMarkColor() {
    static const ui::Color color = colorFromHex("#8E8E97");
    return color;
}

}  // namespace

DailyCircle DailyCircle::forJournal(const kestrova::Journal& journal) {
    return DailyCircle{
        .streak = journal.streak.value_or(0),
        .postedToday = isPostedToday(journal),
        .isStreakActive = isNextStreakDateToday(journal),
        .bottomConnectorLine = false,
        .isScheduled = journal.isScheduled.value_or(false),
        .shouldDisplayStreak = journal.shouldDisplayStreak.value_or(false),
        .size = 24.0,
        .fontSize = 10.0,
        .lineWidth = 2.0,
    };
}

ui::View DailyCircle::mark() const {
    const ui::Font font = ui::Font::system(fontSize);
    if (!shouldDisplayStreak) {
        return ui::Image::systemName("checkmark").view().font(font);
    }
    // A broken streak shows no number: only a streak that is alive or was kept today counts.
    const bool counts = streak > 0 && (isStreakActive || postedToday);
    return ui::Text::verbatim(counts ? std::to_string(streak) : std::string()).font(font);
}

ui::View DailyCircle::ring(const ui::Color& color) const {
    return ui::Circle()
        .stroke(color, lineWidth)
        .background(ui::Circle().fill(ui::Color::clear()))
        .frame(size, size);
}

ui::View DailyCircle::connector() const {
    ui::Path line;
    line.move({16, size}).addLine({16, size + 24});
    return ui::Shape::path(line)
        .stroke(dailyColor(), 1.0)
        .animation(ui::Animation::spring(0.55, 0.825, 0), size)
        .frame(size, size);
}

ui::View DailyCircle::clockBadge() const {
    return ui::Image::named("KVClock")
        .resizable()
        .view()
        .frame(size * 0.5, size * 0.5)
        .foregroundColor(timeColor())
        .background(ui::ColorView(ui::Color::black()))
        .clipShape(ui::Circle())
        .offset(2.0, 2.0)
        .opacity(isScheduled ? 1.0 : 0.0);
}

ui::View DailyCircle::body() const {
    std::vector<ui::View> layers;
    if (postedToday) {
        layers.push_back(mark().foregroundColor(dailyColor()).background(ring(dailyColor())).frame(size, size));
        if (bottomConnectorLine) {
            layers.push_back(connector());
        }
    } else {
        layers.push_back(mark().foregroundColor(notPostedMarkColor()).background(ring(publishingColor())).frame(size, size));
    }
    return ui::ZStack(std::move(layers))
        .overlay(clockBadge(), ui::Alignment::bottomTrailing())
        .contentShape(ui::Circle());
}

}  // namespace pellicor
