// The headless widget board as a widget host's tests drive it: the user's clicks and menu commands
// reach the host's events, and the choosers wait for the test's answer and report what they were
// given.
#include "platform/backends/headless/HeadlessBackend.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using widgetkit::WidgetBoard;
using Command = WidgetBoard::Command;

struct Heard {
    std::vector<std::string> lines;

    WidgetBoard::Events events() {
        return {[this](std::size_t tile, ui::Point point) {
                    lines.push_back("clicked " + std::to_string(tile) + " at " + std::to_string(int(point.x)) + "," +
                                    std::to_string(int(point.y)));
                },
                [this](Command command, std::optional<std::size_t> tile) {
                    lines.push_back("command " + std::to_string(int(command)) + " on " +
                                    (tile ? std::to_string(*tile) : std::string("board")));
                },
                [this] { lines.emplace_back("closed"); }};
    }
};

WidgetBoard::Tile tile(double width, double height, bool configurable = false) {
    return {{width, height}, 2, {0x89, 'P', 'N', 'G'}, configurable};
}

class HeadlessWidgetBoardTest : public testing::Test {
protected:
    void SetUp() override { backend.effects().clear(); }

    headless::HeadlessBackend& backend = headless::HeadlessBackend::installed();
    headless::HeadlessWidgetBoard& board = backend.widgetBoard();
};

TEST_F(HeadlessWidgetBoardTest, KeepsTheTilesAndPassesTheUsersActsOnToTheHost) {
    Heard heard;
    EXPECT_FALSE(board.isShown());
    board.show(heard.events());
    board.setTiles({tile(170, 170), tile(364, 170, true)});
    EXPECT_TRUE(board.isShown());
    ASSERT_EQ(board.tiles().size(), 2U);
    EXPECT_EQ(board.tiles()[1].size, (ui::Size{364, 170}));
    EXPECT_TRUE(board.tiles()[1].configurable);

    board.click(1, {300, 20});
    board.sendCommand(Command::addWidget);
    board.sendCommand(Command::removeWidget, 0);
    board.sendCommand(Command::configureWidget, 1);
    board.close();
    EXPECT_FALSE(board.isShown());
    EXPECT_EQ(heard.lines, (std::vector<std::string>{"clicked 1 at 300,20", "command 0 on board", "command 1 on 0",
                                                     "command 2 on 1", "closed"}));
    EXPECT_EQ(backend.effects().lines(),
              (std::vector<std::string>{"widget board shown", "widget board tiles: 170x170@2, 364x170@2 configurable",
                                        "widget board closed"}));

    board.setScale(2);
    EXPECT_DOUBLE_EQ(board.scale(), 2);
}

TEST_F(HeadlessWidgetBoardTest, RefusesActsTheDesktopsBoardWouldNotOffer) {
    struct Case {
        const char* name;
        void (*act)(headless::HeadlessWidgetBoard&);
        const char* fault;
    };
    const std::vector<Case> cases = {
        {"a click past the tile's edge", [](auto& b) { b.click(0, {170, 10}); }, "outside tile 0"},
        {"a click on no tile", [](auto& b) { b.click(2, {1, 1}); }, "has no tile 2"},
        {"removing on the board", [](auto& b) { b.sendCommand(Command::removeWidget); }, "only on a tile"},
        {"configuring a plain tile", [](auto& b) { b.sendCommand(Command::configureWidget, 0); }, "configurable tile"},
        {"picking with no gallery open", [](auto& b) { b.pickWidget(0); }, "no widget gallery is open"},
        {"cancelling no option chooser", [](auto& b) { b.cancelOptionChooser(); }, "no option chooser is open"},
    };
    Heard heard;
    board.show(heard.events());
    board.setTiles({tile(170, 170), tile(170, 170, true)});
    for (const auto& c : cases) {
        EXPECT_DEATH(c.act(board), c.fault) << c.name;
    }
    EXPECT_TRUE(heard.lines.empty());
}

TEST_F(HeadlessWidgetBoardTest, TheGalleryWaitsForThePickOrTheCancel) {
    std::vector<std::optional<std::size_t>> answers;
    const auto ask = [&] {
        board.chooseWidget({{"Today", "Today's entry", tile(170, 170)}, {"Journal", "One journal", tile(364, 170)}},
                           [&answers](std::optional<std::size_t> index) { answers.push_back(index); });
    };
    ask();
    ASSERT_TRUE(board.openGallery());
    ASSERT_EQ(board.openGallery()->size(), 2U);
    EXPECT_EQ((*board.openGallery())[1].description, "One journal");
    EXPECT_EQ((*board.openGallery())[1].preview.size, (ui::Size{364, 170}));
    EXPECT_TRUE(answers.empty());
    board.pickWidget(1);
    EXPECT_FALSE(board.openGallery());

    ask();
    board.cancelGallery();
    // Asked again while open: the open one ends as cancelled.
    ask();
    ask();
    board.pickWidget(0);
    EXPECT_DEATH(board.pickWidget(0), "no widget gallery is open");
    EXPECT_EQ(answers, (std::vector<std::optional<std::size_t>>{1, std::nullopt, std::nullopt, 0}));
    EXPECT_EQ(backend.effects().linesStartingWith("widget gallery -> "),
              (std::vector<std::string>{"widget gallery -> \"Journal\"", "widget gallery -> cancelled",
                                        "widget gallery -> cancelled", "widget gallery -> \"Today\""}));
    EXPECT_EQ(backend.effects().lines().front(), "widget gallery: \"Today\", \"Journal\"");
}

TEST_F(HeadlessWidgetBoardTest, TheOptionChooserReportsItsSectionsAndTakesAnOfferedIdentifier) {
    const std::vector<WidgetBoard::OptionSection> sections = {
        {"Today", {{"j1", "Travel"}, {"j2", "Work"}}},
        {"Not Today", {{"j3", "Dreams"}}},
    };
    std::vector<std::optional<std::string>> answers;
    const auto ask = [&](std::optional<std::string> current) {
        board.chooseOption("Journal", sections, std::move(current),
                           [&answers](std::optional<std::string> identifier) { answers.push_back(std::move(identifier)); });
    };
    ask("j2");
    ASSERT_TRUE(board.openOptionChooser());
    EXPECT_EQ(board.openOptionChooser()->title, "Journal");
    EXPECT_EQ(board.openOptionChooser()->current, "j2");
    ASSERT_EQ(board.openOptionChooser()->sections.size(), 2U);
    EXPECT_EQ(board.openOptionChooser()->sections[1].options[0].title, "Dreams");
    EXPECT_DEATH(board.pickOption("j9"), "offers no \"j9\"");
    board.pickOption("j3");
    EXPECT_FALSE(board.openOptionChooser());

    ask(std::nullopt);
    board.cancelOptionChooser();
    EXPECT_EQ(answers, (std::vector<std::optional<std::string>>{"j3", std::nullopt}));
    EXPECT_EQ(backend.effects().lines(),
              (std::vector<std::string>{
                  "option chooser: \"Journal\" Today: \"Travel\" \"Work\"; Not Today: \"Dreams\"; current j2",
                  "option chooser -> \"j3\"",
                  "option chooser: \"Journal\" Today: \"Travel\" \"Work\"; Not Today: \"Dreams\"; current none",
                  "option chooser -> cancelled"}));
}

}  // namespace
