#pragma once

#include "platform/kits/ui/Geometry.hpp"
#include "platform/runtime/base/Installable.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace widgetkit {

// The desktop's surface for placed widgets, as the widget host shows them: one window below the
// others, holding a tile per widget drawn from its entry's picture, with a menu to add, remove and
// configure widgets. Made and used on the main thread.
class WidgetBoard : public base::Installable<WidgetBoard> {
public:
    static constexpr std::string_view serviceName = "widgetkit::WidgetBoard";

    // One placed widget's picture: a PNG of `size` points at `scale` pixels per point.
    struct Tile {
        ui::Size size;
        double scale = 1;
        std::vector<std::uint8_t> png;
        // Whether its widget has options to configure: only then does its menu offer to.
        bool configurable = false;
    };

    enum class Command { addWidget, removeWidget, configureWidget };

    struct Events {
        // A primary click inside a tile, at a point in the tile's points.
        std::function<void(std::size_t tile, ui::Point point)> clicked;
        // A menu command; the tile it was asked on, when it was asked on one.
        std::function<void(Command command, std::optional<std::size_t> tile)> command;
        // The user closed the board.
        std::function<void()> closed;
    };

    // A widget the gallery offers: its preview with its name and description.
    struct GalleryItem {
        std::string displayName;
        std::string description;
        Tile preview;
    };

    struct Option {
        std::string identifier;
        std::string title;
    };
    struct OptionSection {
        std::string title;
        std::vector<Option> options;
    };

    virtual ~WidgetBoard() = default;

    // Puts the board on screen; the events come from then on.
    virtual void show(Events events) = 0;
    // Replaces the tiles, in order.
    virtual void setTiles(std::vector<Tile> tiles) = 0;
    // Device pixels per point of the screen the board is on.
    [[nodiscard]] virtual double scale() const = 0;

    // Each chooser is open once at most: asking again while one is open ends the open one as
    // cancelled first.
    // Asks the user to pick a widget of the gallery; none when they cancel.
    virtual void chooseWidget(std::vector<GalleryItem> items, std::function<void(std::optional<std::size_t>)> chosen) = 0;
    // Asks the user to pick one of the options, with `current` picked to start with; none when
    // they cancel.
    virtual void chooseOption(std::string title, std::vector<OptionSection> sections,
                              std::optional<std::string> current,
                              std::function<void(std::optional<std::string>)> chosen) = 0;

protected:
    WidgetBoard() = default;
};

}  // namespace widgetkit
