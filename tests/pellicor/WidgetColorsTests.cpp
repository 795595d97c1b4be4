#include "pellicor/JournalIcon.hpp"
#include "pellicor/WidgetColors.hpp"
#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Node.hpp"

#include <gtest/gtest.h>

#include <string>

namespace pellicor {
namespace {

struct HexCase {
    std::string text;
    ui::RGBA expected;
};

constexpr double byte(int value) { return value / 255.0; }

TEST(ColorFromHex, ReadsChannelsByTheCountOfCharacters) {
    const HexCase cases[] = {
        {"#8E8E97", {byte(0x8E), byte(0x8E), byte(0x97), 1}},
        {"   #FF00FF80\n", {1, 0, 1, byte(0x80)}},
        {"#abc", {byte(0xAB), byte(0xAB), byte(0xAB), byte(0xCC)}},  // abcc: grey and opacity
        {"#F", {1, 1, 1, 1}},                                         // FF: a grey level
        {"7", {byte(0x77), byte(0x77), byte(0x77), 1}},
        {"", {1, 1, 1, 1}},
        {"#", {1, 1, 1, 1}},
        {"a1b2c3d4e", {byte(0xA1), byte(0xB2), byte(0xC3), byte(0xD4)}},
        {"zz", {0, 0, 0, 1}},                                         // nothing read, yet two characters
        {"a1b2c", {byte(0xA1), byte(0xB2), byte(0xCC), 1}},           // a1b2cc
        {"##8E8E97", {0, 0, 0, 0}},                                   // one "#" goes: 8 characters, none read
        {"0x8E97", {0, byte(0x8E), byte(0x97), 1}},                    // the prefix is read, and counts
        {"12zz34", {0, 0, byte(0x12), 1}},                            // reading stops at the first non-digit
        {"# 80", {byte(0x08), byte(0x08), byte(0x08), 0}},            // " 800": the blank is skipped, 0x800 read
        {"\xE2\x80\x83" "7F\xC2\xA0", {byte(0x7F), byte(0x7F), byte(0x7F), 1}},  // Unicode blanks trimmed
        {"\xC3\xA9" "1", {0, 0, 0, 1}},                                // two characters, not three bytes
        {"\xFF\xFE", {0, 0, 0, 1}},                                    // malformed bytes count, read nothing
    };
    for (const HexCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << '"' << c.text << '"');
        const ui::RGBA got = colorFromHex(c.text).resolve(ui::ColorScheme::light);
        EXPECT_DOUBLE_EQ(got.red, c.expected.red);
        EXPECT_DOUBLE_EQ(got.green, c.expected.green);
        EXPECT_DOUBLE_EQ(got.blue, c.expected.blue);
        EXPECT_DOUBLE_EQ(got.alpha, c.expected.alpha);
    }
}

TEST(WidgetColors, NameTheCatalogueColours) {
    EXPECT_EQ(dailyColor(), ui::Color("Daily"));
    EXPECT_EQ(publishingColor(), ui::Color("Publishing"));
    EXPECT_EQ(timeColor(), ui::Color("Time"));
    EXPECT_EQ(darkGrayColor(), ui::Color("DarkGray"));
    EXPECT_EQ(&dailyColor(), &dailyColor());
}

TEST(JournalIcon, DrawsTheEmojiAtItsSideInASquareThatDoesNotSqueezeIt) {
    for (const double side : {14.0, 32.0}) {
        ui::LayoutEngine engine;
        const auto tree = engine.layout(JournalIcon{"\U0001F1EE\U0001F1E9", side}, {200, 200});
        EXPECT_EQ(tree.frame.size, (ui::Size{side, side}));
        const auto* glyph = tree.first<ui::node::Text>();
        ASSERT_NE(glyph, nullptr);
        EXPECT_EQ(glyph->as<ui::node::Text>()->runs.front().font, ui::Font::system(side));
        // Its own size, centred on the square even where that is larger.
        EXPECT_NEAR(glyph->frame.midX(), tree.frame.midX(), 0.5);
        EXPECT_GE(glyph->frame.height(), side);
    }
}

}  // namespace
}  // namespace pellicor
