#include "pellicor/DailyProgressView.hpp"

#include "pellicor/WidgetColors.hpp"
#include "platform/kits/ui/Shape.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"

#include <algorithm>

namespace pellicor {

ui::View DailyProgressView::body() const {
    const double filled = std::min(static_cast<double>(percentage), 1.0);
    return ui::GeometryReader([filled, entries = entries](const ui::GeometryProxy& geometry) {
               const double side = std::min(geometry.size.width, geometry.size.height);
               ui::StrokeStyle style;
               style.lineWidth = side * 0.1;
               style.lineCap = ui::LineCap::round;
               style.lineJoin = ui::LineJoin::round;
               return ui::ZStack({
                   ui::Circle().stroke(dailyColor(), style).opacity(0.2),
                   ui::Circle()
                       .trim(0, filled)
                       .stroke(dailyColor(), style)
                       .rotationEffect(ui::Angle::degrees(-90))
                       .animation(ui::Animation::linear(), filled),
                   ui::Text(ui::LocalizedStringKey("%lld", {entries})).font(ui::Font::title().weight(ui::Font::Weight::medium)),
               });
           })
        .frame(80, 80);
}

}  // namespace pellicor
