#include "platform/kits/ui/AssetCatalog.hpp"
#include "platform/kits/ui/Controls.hpp"
#include "platform/kits/ui/Image.hpp"
#include "platform/kits/ui/NativeView.hpp"
#include "platform/kits/ui/Renderer.hpp"
#include "platform/kits/ui/Shape.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"
#include "platform/kits/ui/internal/ImageStore.hpp"
#include "tests/support/ScratchDirectory.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace ui {
namespace {

using Pixel = Bitmap::Pixel;

const Color red = Color::sRGB(1, 0, 0);

// How many pixels of the bitmap satisfy the condition.
int count(const Bitmap& bitmap, const std::function<bool(const Pixel&)>& condition) {
    int found = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            found += condition(bitmap.pixel(x, y)) ? 1 : 0;
        }
    }
    return found;
}

bool opaqueRed(const Pixel& pixel) { return pixel.alpha > 200 && pixel.red > 200 && pixel.green < 50 && pixel.blue < 50; }

TEST(Render, PaintsAtAnySizeAndScale) {
    struct Case {
        Size size;
        double scale;
        int width, height;
    };
    const Case cases[] = {{{22, 22}, 1, 22, 22}, {{22, 22}, 2, 44, 44}, {{338, 158}, 1.5, 507, 237}, {{10, 4}, 1, 10, 4}};
    for (const Case& c : cases) {
        Renderer::Options options = Renderer::Options::atScale(c.scale);
        const auto bitmap = Renderer::render(ColorView(red), c.size, options);
        EXPECT_EQ(bitmap.width(), c.width);
        EXPECT_EQ(bitmap.height(), c.height);
        EXPECT_EQ(count(bitmap, opaqueRed), c.width * c.height);
    }
}

TEST(Render, OpacityClippingAndTrimming) {
    // Half-transparent red over nothing.
    const auto faded = Renderer::render(ColorView(red).opacity(0.5), {4, 4});
    EXPECT_NEAR(faded.pixel(1, 1).alpha, 128, 1);
    EXPECT_EQ(faded.pixel(1, 1).red, 255);

    // A square clipped to a circle leaves its corners empty.
    const auto clipped = Renderer::render(ColorView(red).clipShape(Circle()), {40, 40});
    EXPECT_EQ(clipped.pixel(1, 1).alpha, 0);
    EXPECT_TRUE(opaqueRed(clipped.pixel(20, 20)));

    // A filled rectangle trimmed to its first quarter is an open line: nothing is filled inside.
    const auto stroked = Renderer::render(Rectangle().trim(0, 0.25).stroke(red, 2), {40, 40});
    EXPECT_TRUE(opaqueRed(stroked.pixel(20, 0)));   // the top edge, drawn first
    EXPECT_EQ(stroked.pixel(20, 39).alpha, 0);      // the bottom edge, not reached
    EXPECT_EQ(stroked.pixel(20, 20).alpha, 0);

    // Rotated a quarter turn, the circle's start moves from 3 to 12 o'clock.
    const auto arc = Renderer::render(Circle().trim(0, 0.1).stroke(red, 4).rotationEffect(Angle::degrees(-90)), {40, 40});
    EXPECT_TRUE(opaqueRed(arc.pixel(22, 1)));
    EXPECT_EQ(arc.pixel(39, 20).alpha, 0);
}

TEST(Render, TextShowsInItsColourAndEmojiInTheirOwn) {
    const auto text = Renderer::render(Text::verbatim("Kestrova").font(Font::system(20)).foregroundColor(red), {120, 30});
    EXPECT_GT(count(text, opaqueRed), 50);
    // Texts stay laid out from one frame to the next: the same text in another colour is drawn anew.
    const auto again = Renderer::render(Text::verbatim("Kestrova").font(Font::system(20)).foregroundColor(Color::sRGB(0, 0, 1)), {120, 30});
    EXPECT_EQ(count(again, opaqueRed), 0);
    EXPECT_GT(count(again, [](const Pixel& pixel) { return pixel.alpha > 200 && pixel.blue > 200 && pixel.red < 50; }), 50);

    const auto emoji = Renderer::render(Text::verbatim("\U0001F4D3").font(Font::system(32)), {48, 48});
    // A colour-emoji glyph has pixels that are neither grey nor the text colour.
    const int coloured = count(emoji, [](const Pixel& pixel) {
        const int spread = std::max({pixel.red, pixel.green, pixel.blue}) - std::min({pixel.red, pixel.green, pixel.blue});
        return pixel.alpha > 200 && spread > 60;
    });
    EXPECT_GT(coloured, 40);
}

TEST(Render, SymbolsComeFromTheIconThemeOrAreDrawnAndTakeTheForegroundColour) {
    struct Case {
        const char* symbol;
        bool inTheme;
    };
    const Case cases[] = {
        {"gear", true},
        {"checkmark", true},
        {"checkmark.circle", true},
        {"antenna.radiowaves.left.and.right.slash", true},
        {"menubar.rectangle", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.symbol);
        EXPECT_EQ(internal::ImageStore::symbolFile(c.symbol).has_value(), c.inTheme);
        const auto bitmap =
            Renderer::render(Image::systemName(c.symbol).resizable().view().foregroundColor(red).frame(32, 32), {32, 32});
        EXPECT_GT(count(bitmap, opaqueRed), 20);
        EXPECT_EQ(count(bitmap, [](const Pixel& pixel) { return pixel.alpha > 200 && !opaqueRed(pixel); }), 0);
    }
}

TEST(Render, ImagesOfTheCatalogueAndFromBytes) {
    // The application icon fills its frame.
    const auto icon = Renderer::render(Image::named("AppIcon").resizable().view().frame(64, 64), {64, 64});
    EXPECT_GT(icon.pixel(32, 10).alpha, 200);
    // The clock badge is a template: it shows in the foreground colour.
    const auto clock = Renderer::render(Image::named("KVClock").resizable().view().foregroundColor(red).frame(24, 24), {24, 24});
    EXPECT_GT(count(clock, opaqueRed), 20);

    // Bytes that are a picture make an image; others make none.
    testsupport::ScratchDirectory scratch;
    ASSERT_TRUE(Renderer::render(ColorView(red), {3, 2}).writePNG(scratch / "red.png"));
    std::ifstream file(scratch / "red.png", std::ios::binary);
    std::vector<std::uint8_t> png{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const auto image = Image::fromData(png);
    ASSERT_TRUE(image.has_value());
    const auto drawn = Renderer::render(image->resizable().view().frame(30, 20), {30, 20});
    EXPECT_EQ(count(drawn, opaqueRed), 600);
    EXPECT_FALSE(Image::fromData({'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}).has_value());
    EXPECT_FALSE(Image::fromData({}).has_value());
}

// A native view without a widget, as on the headless backend.
class Placeholder final : public NativeView {
public:
    [[nodiscard]] void* nativeWidget() const override { return nullptr; }
};

TEST(Render, ANativeViewTakesTheOfferedSpaceAndSplitsThePaintingIntoLayers) {
    // Red, the native view in a 20-point band with half opacity, then a red square in front of it.
    const auto tree = ZStack({ColorView(red), NativeView::view(std::make_shared<Placeholder>()).frame(std::nullopt, 20).opacity(0.5),
                              ColorView(red).frame(4, 4)});
    const Size size{40, 40};

    // Alone, the placeholder is a light panel over the red, as opaque as the views around it.
    const auto all = Renderer::render(tree, size);
    const auto inBand = all.pixel(2, 20);
    EXPECT_NEAR(inBand.red, 250, 2);
    EXPECT_NEAR(inBand.green, 122, 3);
    EXPECT_TRUE(opaqueRed(all.pixel(2, 2)));
    EXPECT_TRUE(opaqueRed(all.pixel(20, 20)));

    // A window that shows the widget paints what is behind it and what is in front, not the
    // placeholder.
    Renderer::Options behind;
    behind.drawControls = false;
    behind.layer = Renderer::Layer::behindNativeViews;
    const auto back = Renderer::render(tree, size, behind);
    EXPECT_TRUE(opaqueRed(back.pixel(2, 20)));
    EXPECT_TRUE(opaqueRed(back.pixel(20, 20)));
    Renderer::Options inFront = behind;
    inFront.layer = Renderer::Layer::inFrontOfNativeViews;
    const auto front = Renderer::render(tree, size, inFront);
    EXPECT_EQ(front.pixel(2, 20).alpha, 0);
    EXPECT_EQ(front.pixel(2, 2).alpha, 0);
    EXPECT_TRUE(opaqueRed(front.pixel(20, 20)));
}

TEST(AssetCatalog, TheApplicationsColoursHaveALightAndADarkValue) {
    for (const char* name : {"Daily", "Publishing", "Time", "DarkGray", "LightGrey"}) {
        SCOPED_TRACE(name);
        const auto light = AssetCatalog::main().color(name, ColorScheme::light);
        const auto dark = AssetCatalog::main().color(name, ColorScheme::dark);
        ASSERT_TRUE(light && dark);
        EXPECT_EQ(light->alpha, 1.0);
        EXPECT_EQ(Color(name).resolve(ColorScheme::light), *light);
        EXPECT_EQ(Color(name).resolve(ColorScheme::dark), *dark);
    }
    for (const char* name : {"AppIcon", "KVClock"}) {
        EXPECT_TRUE(AssetCatalog::main().imageFile(name).has_value()) << name;
    }
    EXPECT_EQ(Color("NoSuchColour").resolve(ColorScheme::light).alpha, 0.0);
    EXPECT_FALSE(AssetCatalog::main().imageFile("../Assets").has_value());
}

TEST(AssetCatalog, ABadCatalogueGivesNoColoursAndKeepsTheRest) {
    struct Case {
        const char* name;
        const char* contents;
        bool hasDaily;
    };
    const Case cases[] = {
        {"not JSON", "{\"colors\": ", false},
        {"no colours object", "[]", false},
        {"a colour without a dark value", R"({"colors": {"Daily": {"light": "#112233"}}})", false},
        {"a colour that is no hex text", R"({"colors": {"Daily": {"light": "#1122GG", "dark": "#112233"}}})", false},
        {"short hex text", R"({"colors": {"Daily": {"light": "#123", "dark": "#112233"}}})", false},
        {"with opacity", R"({"colors": {"Daily": {"light": "#11223380", "dark": "#112233"}}})", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScratchDirectory scratch;
        scratch.write("Assets.json", c.contents);
        const AssetCatalog catalogue(scratch.path());
        EXPECT_EQ(catalogue.color("Daily", ColorScheme::light).has_value(), c.hasDaily);
    }
    testsupport::ScratchDirectory empty;
    EXPECT_FALSE(AssetCatalog(empty.path()).color("Daily", ColorScheme::light).has_value());
}


TEST(Render, TintColoursTheProgressViewAndNothingElse) {
    const auto isBlue = [](const Pixel& pixel) { return pixel.alpha > 200 && pixel.blue > 200 && pixel.red < 50; };
    const auto tinted = Renderer::render(ProgressView(1).tint(Color::sRGB(0, 0, 1)), {40, 40});
    EXPECT_GT(count(tinted, isBlue), 20);
    const auto untinted = Renderer::render(ProgressView(1).foregroundColor(red), {40, 40});
    EXPECT_EQ(count(untinted, isBlue), 0);
    EXPECT_GT(count(untinted, opaqueRed), 20);
}

TEST(Render, PNGBytesReadBackAsTheSamePixels) {
    const auto bitmap = Renderer::render(HStack({ColorView(red), ColorView(Color::sRGB(0, 0, 1, 0.5))}, {}, 0), {20, 10});
    const auto png = bitmap.pngData();
    ASSERT_GT(png.size(), 8U);
    const auto read = Bitmap::fromPNG(png);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->width(), 20);
    ASSERT_EQ(read->height(), 10);
    for (const auto& [x, y] : {std::pair{2, 5}, std::pair{17, 5}}) {
        EXPECT_EQ(read->pixel(x, y), bitmap.pixel(x, y)) << x << "," << y;
    }
    EXPECT_FALSE(Bitmap::fromPNG({}));
    auto truncated = png;
    truncated.resize(png.size() / 2);
    EXPECT_FALSE(Bitmap::fromPNG(truncated));
}

}  // namespace
}  // namespace ui
