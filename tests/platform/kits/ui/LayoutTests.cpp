#include "platform/kits/ui/Controls.hpp"
#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Shape.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ui {
namespace {

}  // namespace

void PrintTo(const Rect& rect, std::ostream* out) {
    *out << '(' << rect.minX() << ", " << rect.minY() << ") " << rect.width() << " x " << rect.height();
}

namespace {

// A box of a fixed size that the tests find again by its id.
View box(const std::string& name, double width, double height) {
    return ColorView(Color::black()).frame(width, height).id(name);
}
View flexible(const std::string& name) { return ColorView(Color::black()).id(name); }

Rect frameOf(const LaidOutView& tree, const std::string& name) {
    const auto found = tree.all([&](const LaidOutView& view) {
        const auto* identity = view.as<node::Identity>();
        return identity != nullptr && identity->id == name;
    });
    EXPECT_EQ(found.size(), 1U) << name;
    return found.empty() ? Rect{} : found.front()->frame;
}

TEST(Layout, PlacesViewsAsTheyNegotiate) {
    struct Expected {
        std::string name;
        Rect frame;
    };
    struct Case {
        const char* name;
        Size space;
        std::function<View()> view;
        std::vector<Expected> frames;
    };
    const std::vector<Case> cases = {
        {"a fixed frame is centred in the space", {100, 100}, [] { return box("a", 20, 10); },
         {{"a", {{40, 45}, {20, 10}}}}},
        {"a vertical stack centres its children and spaces them by 8", {100, 100},
         [] { return VStack({box("a", 20, 10), box("b", 40, 10)}); },
         {{"a", {{40, 36}, {20, 10}}}, {"b", {{30, 54}, {40, 10}}}}},
        {"leading alignment and explicit spacing", {100, 100},
         [] { return VStack({box("a", 20, 10), box("b", 40, 10)}, HorizontalAlignment::leading, 0); },
         {{"a", {{30, 40}, {20, 10}}}, {"b", {{30, 50}, {40, 10}}}}},
        {"a spacer pushes the rest to the trailing edge", {100, 20},
         [] { return HStack({Spacer(), box("a", 20, 10)}); },
         {{"a", {{80, 5}, {20, 10}}}}},
        {"a spacer takes only what the others leave", {200, 20},
         [] { return HStack({Text::verbatim("Morning pages").view().id("a"), Spacer(), box("b", 20, 10)}); },
         {{"b", {{180, 5}, {20, 10}}}}},
        {"a spacer between pushes two children apart", {100, 100},
         [] { return VStack({box("a", 10, 10), Spacer(), box("b", 10, 10)}); },
         {{"a", {{45, 0}, {10, 10}}}, {"b", {{45, 90}, {10, 10}}}}},
        {"flexible children share what is left evenly", {100, 10},
         [] { return HStack({flexible("a"), box("b", 20, 10), flexible("c")}, VerticalAlignment::center, 0); },
         {{"a", {{0, 0}, {40, 10}}}, {"b", {{40, 0}, {20, 10}}}, {"c", {{60, 0}, {40, 10}}}}},
        {"padding insets the content", {100, 100}, [] { return box("a", 20, 20).padding(10); },
         {{"a", {{40, 40}, {20, 20}}}}},
        {"the default padding is 16 on the chosen edges", {100, 100},
         [] { return box("a", 20, 20).padding(EdgeSet(Edge::trailing)).frame(100, 100, Alignment::topLeading()); },
         {{"a", {{0, 0}, {20, 20}}}}},
        {"a frame with infinite maximum fills the space and aligns", {100, 50},
         [] {
             return box("a", 20, 10).frame(View::FlexibleFrame{
                 std::nullopt, std::nullopt, infinity, std::nullopt, std::nullopt, infinity, Alignment::bottomTrailing()});
         },
         {{"a", {{80, 40}, {20, 10}}}}},
        {"a frame's minimum wins over a smaller child", {100, 100},
         [] {
             return box("a", 20, 10).frame(View::FlexibleFrame{60, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                                               std::nullopt, Alignment::leading()})
                 .id("frame");
         },
         {{"frame", {{20, 45}, {60, 10}}}, {"a", {{20, 45}, {20, 10}}}}},
        {"a geometry reader takes the whole space and reads its size", {120, 80},
         [] { return GeometryReader([](const GeometryProxy& proxy) { return box("a", proxy.size.width / 2, proxy.size.height / 4); }); },
         {{"a", {{0, 0}, {60, 20}}}}},
        {"a z-stack centres its layers over one another", {100, 100},
         [] { return ZStack({box("a", 40, 40), box("b", 10, 10)}); },
         {{"a", {{30, 30}, {40, 40}}}, {"b", {{45, 45}, {10, 10}}}}},
        {"an overlay is aligned on its content and takes none of the space", {100, 100},
         [] { return box("a", 40, 40).overlay(box("b", 10, 10), Alignment::bottomTrailing()); },
         {{"a", {{30, 30}, {40, 40}}}, {"b", {{60, 60}, {10, 10}}}}},
        {"a background is offered its content's size", {100, 100},
         [] { return box("a", 40, 20).background(flexible("b")); },
         {{"a", {{30, 40}, {40, 20}}}, {"b", {{30, 40}, {40, 20}}}}},
        {"an offset moves the drawing, not the layout", {100, 100},
         [] { return VStack({box("a", 10, 10).offset(2, 2), box("b", 10, 10)}, HorizontalAlignment::center, 0); },
         {{"a", {{47, 42}, {10, 10}}}, {"b", {{45, 50}, {10, 10}}}}},
        {"a resizable square image filling a frame keeps its aspect", {100, 100},
         [] { return flexible("a").aspectRatio(1.0, true).frame(56, 56); },
         {{"a", {{22, 22}, {56, 56}}}}},
        {"fitting a wide ratio into a square", {100, 100},
         [] { return flexible("a").aspectRatio(2.0, false).frame(100, 100); },
         {{"a", {{0, 25}, {100, 50}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LayoutEngine engine;
        const auto tree = engine.layout(c.view(), c.space);
        for (const Expected& expected : c.frames) {
            EXPECT_EQ(frameOf(tree, expected.name), expected.frame) << expected.name;
        }
    }
}

TEST(Layout, TextWrapsInTheWidthItIsOfferedAndKeepsItsIdealHeightWhenFixed) {
    LayoutEngine engine;
    const Text text("Enable 'Beta' to use an experimental version with new features.");
    const Size ideal = engine.sizeThatFits(text, {});
    const Size narrow = engine.sizeThatFits(text, {120.0, std::nullopt});
    EXPECT_GT(ideal.width, 120);
    EXPECT_LE(narrow.width, 120);
    EXPECT_GT(narrow.height, ideal.height * 2);

    // Too little height truncates it to what fits, unless it is fixed to its ideal height.
    const Size squeezed = engine.sizeThatFits(text, {120.0, ideal.height});
    EXPECT_DOUBLE_EQ(squeezed.height, ideal.height);
    const Size fixed = engine.sizeThatFits(text.view().fixedSize(false, true), {120.0, ideal.height});
    EXPECT_DOUBLE_EQ(fixed.height, narrow.height);

    const Size limited = engine.sizeThatFits(text.view().lineLimit(1), {120.0, std::nullopt});
    EXPECT_DOUBLE_EQ(limited.height, ideal.height);

    // Beside a spacer a text keeps its whole width: the spacer takes what is left.
    const Text title = Text::verbatim("Morning pages");
    const double whole = engine.sizeThatFits(title, {}).width;
    ASSERT_GT(whole, 75);
    const auto row = engine.layout(HStack({title, Spacer()}), {150, 20});
    EXPECT_DOUBLE_EQ(row.first<node::Text>()->frame.width(), whole);
}

TEST(Layout, ALinksLabelTakesTheSpaceTheLinkIsOffered) {
    LayoutEngine engine;
    const View label = Text::verbatim("A title far too long for the narrow space it is offered").view().lineLimit(1);
    const auto tree = engine.layout(Link("kestrova:///open", label), {120, 40});
    const auto* text = tree.first<node::Text>();
    EXPECT_EQ(text->frame, tree.frame);
    EXPECT_LE(text->frame.width(), 120);
}

TEST(Layout, FontsSizeTheText) {
    LayoutEngine engine;
    const Size small = engine.sizeThatFits(Text::verbatim("12").font(Font::system(10)), {});
    const Size large = engine.sizeThatFits(Text::verbatim("12").font(Font::system(55)), {});
    EXPECT_NEAR(large.height / small.height, 5.5, 0.6);
    const Size regular = engine.sizeThatFits(Text::verbatim("Signed in as").font(Font::body()), {});
    const Size bold = engine.sizeThatFits(Text::verbatim("Signed in as").font(Font::body()).bold(), {});
    EXPECT_GT(bold.width, regular.width);
    // Semantic fonts follow their styles.
    EXPECT_GT(engine.sizeThatFits(Text("7").font(Font::title()), {}).height,
              engine.sizeThatFits(Text("7").font(Font::footnote()), {}).height);
}

TEST(Layout, JoinedTextsWrapAsOne) {
    LayoutEngine engine;
    const Text joined = Text("Signed in as ") + Text::verbatim("@ann").bold();
    EXPECT_EQ(joined.string(), "Signed in as @ann");
    const auto tree = engine.layout(joined, {300, 100});
    const auto texts = tree.all<node::Text>();
    ASSERT_EQ(texts.size(), 1U);
    const auto& runs = texts.front()->as<node::Text>()->runs;
    ASSERT_EQ(runs.size(), 2U);
    EXPECT_FALSE(runs[0].weight.has_value());
    EXPECT_EQ(runs[1].weight, Font::Weight::bold);
}

TEST(Layout, IdentitiesFollowKindsAndExplicitIds) {
    LayoutEngine engine;
    const auto identity = [&engine](const View& view) { return engine.layout(view, {50, 50}).children.front().identity; };
    const View text = Text("a");
    EXPECT_EQ(identity(VStack({text})), identity(VStack({Text("b")})));
    EXPECT_NE(identity(VStack({text})), identity(VStack({ColorView(Color::black())})));
    EXPECT_NE(identity(VStack({text.id("black")})), identity(VStack({text.id("orange")})));
}


TEST(Layout, AnEnvironmentReaderBuildsItsContentFromWhereItIsLaidOut) {
    int builds = 0;
    const View reader = EnvironmentReader([&builds](const EnvironmentValues& environment) {
        ++builds;
        const bool dark = environment.colorScheme == ColorScheme::dark;
        return Text::verbatim(dark ? "dark" : "light").view().frame(dark ? 80.0 : 40.0, 10.0);
    });
    LayoutEngine engine;
    const auto dark = engine.layout(reader.colorScheme(ColorScheme::dark), {200, 100});
    ASSERT_NE(dark.first<node::Text>(), nullptr);
    EXPECT_EQ(dark.first<node::Text>()->text(), "dark");
    EXPECT_EQ(dark.first<node::EnvironmentReader>()->frame.width(), 80);
    // Measured and placed as one tree: built once in a pass.
    EXPECT_EQ(builds, 1);
    const auto light = engine.layout(reader, {200, 100});
    EXPECT_EQ(light.first<node::Text>()->text(), "light");
    EXPECT_EQ(light.first<node::EnvironmentReader>()->frame.width(), 40);
}

TEST(Layout, HostMarksAreAnnotationsThatTakeNoSpace) {
    const View marked = ColorView(Color::black())
                            .frame(30.0, 20.0)
                            .privacySensitive()
                            .widgetAccentable()
                            .preferredColorScheme(ColorScheme::dark)
                            .widgetURL("kestrova:///create-entry?journalId=7");
    LayoutEngine engine;
    const auto laidOut = engine.layout(marked, {100, 100});
    std::map<std::string, std::string> annotations;
    for (const auto* view : laidOut.all<node::Annotation>()) {
        annotations[view->as<node::Annotation>()->key] = view->as<node::Annotation>()->value;
        EXPECT_EQ(view->frame.width(), 30);
    }
    EXPECT_EQ(annotations, (std::map<std::string, std::string>{{"preferredColorScheme", "dark"},
                                                                {"privacySensitive", ""},
                                                                {"widgetAccentable", ""},
                                                                {"widgetURL", "kestrova:///create-entry?journalId=7"}}));
    // Unset marks leave the view as it was.
    const View plain = ColorView(Color::black()).privacySensitive(false).widgetAccentable(false).preferredColorScheme(
        std::nullopt).widgetURL(std::nullopt);
    EXPECT_TRUE(engine.layout(plain, {10, 10}).all<node::Annotation>().empty());
}

}  // namespace
}  // namespace ui
