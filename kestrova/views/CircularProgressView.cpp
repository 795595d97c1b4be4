#include "kestrova/views/CircularProgressView.hpp"

#include "platform/kits/ui/Shape.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/StrokeStyle.hpp"
#include "platform/kits/ui/TextView.hpp"

#include <algorithm>

namespace kestrova {

ui::View CircularProgressView::body() const {
    return ui::GeometryReader([percentage = percentage, number = number, primaryColor = primaryColor](const ui::GeometryProxy& geometry) {
        const double width = geometry.size.width;
        const double height = geometry.size.height;
        const ui::StrokeStyle style{0.12 * std::min(width, height), ui::LineCap::round, ui::LineJoin::round, 10, {}, 0};
        const double filled = std::min(percentage, 1.0);
        return ui::ZStack(
            {
                ui::Circle().stroke(ui::Color::black(), style).opacity(0.3),
                ui::Circle()
                    .trim(0, filled)
                    .stroke(primaryColor, style)
                    .rotationEffect(ui::Angle::inRadians(-M_PI / 2))
                    .animation(ui::Animation::standard(), filled),
                ui::Text(ui::LocalizedStringKey("%lld", {number}))
                    .font(ui::Font::system(0.55 * height, ui::Font::Weight::regular, ui::Font::Design::standard))
                    .fontWeight(ui::Font::Weight::medium)
                    .foregroundColor(ui::Color::black()),
            },
            ui::Alignment::center());
    });
}

}  // namespace kestrova
