#include "pellicor/DailyProgressView.hpp"
#include "pellicor/WidgetColors.hpp"
#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Node.hpp"
#include "tests/pellicor/WidgetPictures.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace pellicor {
namespace {

// Where the stroke passes at a clock hour, in the 80-point ring centred in a 100-point space.
ui::Point onRing(double hour) {
    const double angle = hour / 12.0 * 2 * M_PI;
    const double radius = 38;  // inside the outline at 40, within the 8-point stroke
    return {50 + radius * std::sin(angle), 50 - radius * std::cos(angle)};
}

bool isTrack(const ui::Bitmap::Pixel& pixel) { return pixel.alpha > 30 && pixel.alpha < 75; }  // "Daily" at 20 %

TEST(DailyProgressView, FillsClockwiseFromTheTopUpToAClosedRing) {
    struct Case {
        float percentage;
        const char* name;
        std::vector<double> filledHours, trackHours;
    };
    const Case cases[] = {
        {0, "ring-0", {}, {0.5, 1.5, 3, 4.5, 6, 7.5, 9, 10.5}},
        {0.75, "ring-75", {0.5, 1.5, 3, 4.5, 6, 7.5, 8.5}, {9.5, 10.5, 11.5}},
        {1.2F, "ring-120", {0.5, 1.5, 3, 4.5, 6, 7.5, 9, 10.5, 11.5}, {}},
    };
    const ui::Size space{100, 100};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bitmap = testing::renderWidget(DailyProgressView{c.percentage, 3}, space, widgetkit::WidgetFamily::systemMedium, c.name);
        for (const double hour : c.filledHours) {
            SCOPED_TRACE(hour);
            const ui::Point point = onRing(hour);
            EXPECT_TRUE(testing::isSolid(testing::at(bitmap, point.x, point.y), dailyColor()));
        }
        for (const double hour : c.trackHours) {
            SCOPED_TRACE(hour);
            const ui::Point point = onRing(hour);
            EXPECT_TRUE(isTrack(testing::at(bitmap, point.x, point.y)));
        }
        // The count in the middle, in the dark scheme's primary text colour (white at 85 %).
        EXPECT_GT(testing::countIn(bitmap, {{40, 40}, {20, 20}}, [](const ui::Bitmap::Pixel& pixel) {
                      return pixel.alpha > 200 && pixel.red > 230 && pixel.green > 230 && pixel.blue > 230;
                  }),
                  20);
    }
}

TEST(DailyProgressView, KeepsItsSizeAndStrokesByTheSmallerSide) {
    for (const ui::Size space : {ui::Size{364, 170}, ui::Size{80, 80}, ui::Size{200, 500}}) {
        ui::LayoutEngine engine;
        const auto tree = engine.layout(DailyProgressView{0.5F, 0}, space);
        EXPECT_EQ(tree.frame.size, (ui::Size{80, 80}));
        const auto shapes = tree.all<ui::node::ShapeView>();
        ASSERT_EQ(shapes.size(), 2U);
        for (const auto* shape : shapes) {
            const auto& stroke = shape->as<ui::node::ShapeView>()->stroke;
            EXPECT_DOUBLE_EQ(stroke.lineWidth, 8);
            EXPECT_EQ(stroke.lineCap, ui::LineCap::round);
            EXPECT_EQ(stroke.lineJoin, ui::LineJoin::round);
        }
        EXPECT_DOUBLE_EQ(shapes[1]->trimTo, 0.5);
        EXPECT_EQ(tree.first<ui::node::Text>()->text(), "0");
    }
}

}  // namespace
}  // namespace pellicor
