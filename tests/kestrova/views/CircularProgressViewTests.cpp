#include "kestrova/views/CircularProgressView.hpp"
#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Renderer.hpp"
#include "platform/kits/ui/ViewHost.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace kestrova {
namespace {

const ui::Color green = ui::Color::sRGB(0, 1, 0);

ui::Bitmap::Pixel at(const ui::Bitmap& bitmap, double x, double y) {
    return bitmap.pixel(static_cast<int>(x), static_cast<int>(y));
}

// Where the ring's stroke passes at a clock hour, in a 100 × 100 area: the circle has radius 50.
std::pair<double, double> onRing(double hour, double size = 100) {
    const double angle = hour / 12.0 * 2 * M_PI;  // clockwise from 12
    const double radius = size / 2 - 1;            // just inside the outline, within the 12-point stroke
    return {size / 2 + radius * std::sin(angle), size / 2 - radius * std::cos(angle)};
}

bool isGreen(const ui::Bitmap::Pixel& pixel) { return pixel.green > 200 && pixel.red < 60 && pixel.alpha > 200; }
bool isTrack(const ui::Bitmap::Pixel& pixel) {
    return pixel.red < 40 && pixel.green < 40 && pixel.alpha > 60 && pixel.alpha < 100;  // black at 30 %
}

TEST(CircularProgressView, ScalesWithTheSpaceItIsOffered) {
    struct Case {
        ui::Size space;
        double lineWidth;
        double diameter;
        double typeSize;
    };
    const Case cases[] = {
        {{100, 100}, 12, 100, 55},
        {{200, 100}, 12, 100, 55},
        {{100, 200}, 12, 100, 110},
        {{22, 22}, 2.64, 22, 12.1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.space.width << " x " << c.space.height);
        ui::LayoutEngine engine;
        const auto tree = engine.layout(CircularProgressView{0.25, 3, green}, c.space);
        const auto shapes = tree.all<ui::node::ShapeView>();
        ASSERT_EQ(shapes.size(), 2U);
        for (const auto* shape : shapes) {
            const auto& payload = *shape->as<ui::node::ShapeView>();
            EXPECT_DOUBLE_EQ(payload.stroke.lineWidth, c.lineWidth);
            EXPECT_EQ(payload.stroke.lineCap, ui::LineCap::round);
            EXPECT_EQ(payload.stroke.lineJoin, ui::LineJoin::round);
            EXPECT_DOUBLE_EQ(payload.stroke.miterLimit, 10);
            EXPECT_TRUE(payload.stroke.dash.empty());
            EXPECT_DOUBLE_EQ(std::min(shape->frame.width(), shape->frame.height()), c.diameter);
            EXPECT_EQ(shape->frame.size, c.space);  // the circle is inscribed in the whole space
        }
        const auto* label = tree.first<ui::node::Text>();
        ASSERT_NE(label, nullptr);
        const auto& run = label->as<ui::node::Text>()->runs.front();
        ASSERT_TRUE(run.font.has_value());
        EXPECT_DOUBLE_EQ(run.font->pointSize(), c.typeSize);
        EXPECT_EQ(run.weight, ui::Font::Weight::medium);
        EXPECT_EQ(run.color, ui::Color::black());
        // The number is centred.
        EXPECT_NEAR(label->frame.midX(), c.space.width / 2, 0.5);
        EXPECT_NEAR(label->frame.midY(), c.space.height / 2, 0.5);
    }
}

TEST(CircularProgressView, DrawsTheTrackAndAnArcFromTwelveClockwise) {
    struct Case {
        const char* name;
        double percentage;
        std::vector<double> arcHours;    // green there
        std::vector<double> trackHours;  // only the faint black track there
    };
    const Case cases[] = {
        {"a quarter", 0.25, {0.3, 1.5, 2.7}, {4, 6, 9, 11.2}},
        {"above one is full", 1.5, {0.5, 3, 6, 9, 11.5}, {}},
        {"exactly one is full", 1.0, {0.5, 3, 6, 9, 11.5}, {}},
        {"below zero is none", -0.2, {}, {0.5, 3, 6, 9}},
        {"zero is none", 0.0, {}, {0.5, 3, 6, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bitmap = ui::Renderer::render(CircularProgressView{c.percentage, 7, green}, {100, 100});
        for (double hour : c.arcHours) {
            const auto [x, y] = onRing(hour);
            EXPECT_TRUE(isGreen(at(bitmap, x, y))) << "arc missing at " << hour << " o'clock";
        }
        for (double hour : c.trackHours) {
            const auto [x, y] = onRing(hour);
            const auto pixel = at(bitmap, x, y);
            EXPECT_TRUE(isTrack(pixel)) << "at " << hour << " o'clock: " << pixel.red << ',' << pixel.green << ','
                                        << pixel.blue << ',' << pixel.alpha;
        }
        // Outside the ring, in the corners, nothing is drawn.
        EXPECT_EQ(bitmap.pixel(2, 2).alpha, 0);
    }
}

TEST(CircularProgressView, ShowsTheNumberThroughTheIntegerPlaceholder) {
    struct Case {
        std::int64_t number;
        const char* shown;
    };
    const Case cases[] = {{-3, "-3"}, {3, "3"}, {12345, "12345"}, {0, "0"}};
    for (const Case& c : cases) {
        ui::LayoutEngine engine;
        const auto tree = engine.layout(CircularProgressView{0.5, c.number, green}, {100, 100});
        const auto* label = tree.first<ui::node::Text>();
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), c.shown);
    }
}

TEST(CircularProgressView, TheNumberIsBlackAtTheCentre) {
    const auto bitmap = ui::Renderer::render(CircularProgressView{0.0, 8, green}, {100, 100}, ui::Renderer::Options::atScale(2));
    int dark = 0;
    for (int y = 70; y < 130; ++y) {
        for (int x = 70; x < 130; ++x) {
            const auto pixel = bitmap.pixel(x, y);
            dark += pixel.alpha > 200 && pixel.red < 30 && pixel.green < 30 && pixel.blue < 30 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 200);
}

TEST(CircularProgressView, TheArcGrowsWithTheDefaultAnimation) {
    double clock = 10;
    double percentage = 0.2;
    ui::ViewHost::Options options;
    options.size = {100, 100};
    options.clock = [&] { return clock; };
    ui::ViewHost host([&] { return ui::View(CircularProgressView{percentage, 1, green}); }, options);
    const auto arcEnd = [&host] {
        const auto tree = host.presentation();
        return tree.all<ui::node::ShapeView>().at(1)->trimTo;
    };
    EXPECT_DOUBLE_EQ(arcEnd(), 0.2);
    percentage = 0.6;
    host.update();
    EXPECT_TRUE(host.isAnimating());
    EXPECT_DOUBLE_EQ(arcEnd(), 0.2);
    const double duration = ui::Animation::standard().duration();
    clock += duration / 2;
    EXPECT_NEAR(arcEnd(), 0.4, 1e-9);  // half-way in time is half-way on an ease in and out
    clock += duration;
    EXPECT_FALSE(host.isAnimating());
    EXPECT_DOUBLE_EQ(arcEnd(), 0.6);
}

TEST(CircularProgressView, WritesAPictureToLookAt) {
    if (const char* directory = std::getenv("KESTROVA_PICTURES_DIR")) {
        const auto bitmap = ui::Renderer::render(CircularProgressView{0.25, 12345, ui::Color("Daily")}, {200, 100}, ui::Renderer::Options::atScale(2));
        EXPECT_TRUE(bitmap.writePNG(std::string(directory) + "/ring.png"));
    }
}

}  // namespace
}  // namespace kestrova
