#pragma once

#include "platform/kits/widgetkit/WidgetBoard.hpp"
#include "platform/backends/headless/HeadlessEffects.hpp"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace headless {

// Shows nothing: keeps the tiles and whether the board is shown, and lets a test act as the user on
// it (a click in a tile, a menu command, closing it) and answer its choosers, which stay open until
// the test does. Records "widget board shown", "widget board tiles: ...", "widget gallery: ..." and
// "option chooser: ..." with what each was given, and how each chooser ended.
class HeadlessWidgetBoard final : public widgetkit::WidgetBoard {
public:
    explicit HeadlessWidgetBoard(HeadlessEffects& effects) : effects_(effects) {}

    void show(Events events) override;
    void setTiles(std::vector<Tile> tiles) override;
    [[nodiscard]] double scale() const override { return scale_; }
    void chooseWidget(std::vector<GalleryItem> items, std::function<void(std::optional<std::size_t>)> chosen) override;
    void chooseOption(std::string title, std::vector<OptionSection> sections, std::optional<std::string> current,
                      std::function<void(std::optional<std::string>)> chosen) override;

    // The screen the board is on, 1 until a test says otherwise.
    void setScale(double scale) noexcept { scale_ = scale; }

    [[nodiscard]] bool isShown() const noexcept { return shown_; }
    [[nodiscard]] const std::vector<Tile>& tiles() const noexcept { return tiles_; }

    // The user's acts on the shown board, checked as the desktop's board would offer them: a click
    // lands inside a tile; removing and configuring are asked on a tile, and configuring only on a
    // configurable one.
    void click(std::size_t tile, ui::Point point);
    void sendCommand(Command command, std::optional<std::size_t> tile = std::nullopt);
    // Hides the board and says it was closed.
    void close();

    struct OptionRequest {
        std::string title;
        std::vector<OptionSection> sections;
        std::optional<std::string> current;
    };
    // What the open choosers were given; none while the chooser is not open.
    [[nodiscard]] const std::optional<std::vector<GalleryItem>>& openGallery() const noexcept { return gallery_; }
    [[nodiscard]] const std::optional<OptionRequest>& openOptionChooser() const noexcept { return optionRequest_; }
    // Ends the open chooser with the user's choice, or as cancelled.
    void pickWidget(std::size_t index);
    void cancelGallery();
    void pickOption(const std::string& identifier);
    void cancelOptionChooser();

private:
    void endGallery(std::optional<std::size_t> index);
    void endOptionChooser(std::optional<std::string> identifier);

    HeadlessEffects& effects_;
    double scale_ = 1;
    bool shown_ = false;
    Events events_;
    std::vector<Tile> tiles_;
    std::optional<std::vector<GalleryItem>> gallery_;
    std::function<void(std::optional<std::size_t>)> galleryChosen_;
    std::optional<OptionRequest> optionRequest_;
    std::function<void(std::optional<std::string>)> optionChosen_;
};

}  // namespace headless
