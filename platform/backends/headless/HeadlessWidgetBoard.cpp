#include "platform/backends/headless/HeadlessWidgetBoard.hpp"

#include "platform/runtime/base/Verify.hpp"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace headless {
namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string tileText(const widgetkit::WidgetBoard::Tile& tile) {
    return number(tile.size.width) + "x" + number(tile.size.height) + "@" + number(tile.scale) +
           (tile.configurable ? " configurable" : "");
}

template <typename Each, typename Describe>
std::string joined(const std::vector<Each>& items, const std::string& separator, Describe describe) {
    std::string text;
    for (const auto& item : items) {
        text += (text.empty() ? "" : separator) + describe(item);
    }
    return text;
}

}  // namespace

void HeadlessWidgetBoard::show(Events events) {
    events_ = std::move(events);
    shown_ = true;
    effects_.record("widget board shown");
}

void HeadlessWidgetBoard::setTiles(std::vector<Tile> tiles) {
    tiles_ = std::move(tiles);
    effects_.record("widget board tiles: " + (tiles_.empty() ? std::string("none") : joined(tiles_, ", ", tileText)));
}

void HeadlessWidgetBoard::chooseWidget(std::vector<GalleryItem> items,
                                       std::function<void(std::optional<std::size_t>)> chosen) {
    if (gallery_) {
        endGallery(std::nullopt);
    }
    effects_.record("widget gallery: " +
                    joined(items, ", ", [](const GalleryItem& item) { return quoted(item.displayName); }));
    gallery_ = std::move(items);
    galleryChosen_ = std::move(chosen);
}

void HeadlessWidgetBoard::chooseOption(std::string title, std::vector<OptionSection> sections,
                                       std::optional<std::string> current,
                                       std::function<void(std::optional<std::string>)> chosen) {
    if (optionRequest_) {
        endOptionChooser(std::nullopt);
    }
    const std::string described = joined(sections, "; ", [](const OptionSection& section) {
        return section.title + ":" + joined(section.options, "", [](const Option& option) {
                   return " " + quoted(option.title);
               });
    });
    effects_.record("option chooser: " + quoted(title) + " " + described + "; current " +
                    (current ? *current : std::string("none")));
    optionRequest_ = OptionRequest{std::move(title), std::move(sections), std::move(current)};
    optionChosen_ = std::move(chosen);
}

void HeadlessWidgetBoard::click(std::size_t tile, ui::Point point) {
    VERIFY(shown_, "a click on the widget board needs it shown");
    VERIFY(tile < tiles_.size(), "the widget board has no tile " + std::to_string(tile));
    const ui::Size size = tiles_[tile].size;
    VERIFY(point.x >= 0 && point.y >= 0 && point.x < size.width && point.y < size.height,
           "the click at " + number(point.x) + "," + number(point.y) + " is outside tile " + std::to_string(tile));
    if (events_.clicked) {
        events_.clicked(tile, point);
    }
}

void HeadlessWidgetBoard::sendCommand(Command command, std::optional<std::size_t> tile) {
    VERIFY(shown_, "a menu command of the widget board needs it shown");
    VERIFY(!tile || *tile < tiles_.size(), "the widget board has no tile " + std::to_string(tile.value_or(0)));
    VERIFY(command == Command::addWidget || tile, "the menu offers removing and configuring only on a tile");
    VERIFY(command != Command::configureWidget || tiles_[*tile].configurable,
           "the menu offers configuring only on a configurable tile");
    if (events_.command) {
        events_.command(command, tile);
    }
}

void HeadlessWidgetBoard::close() {
    VERIFY(shown_, "only a shown widget board is closed");
    shown_ = false;
    effects_.record("widget board closed");
    if (events_.closed) {
        events_.closed();
    }
}

void HeadlessWidgetBoard::pickWidget(std::size_t index) {
    VERIFY(gallery_, "no widget gallery is open");
    VERIFY(index < gallery_->size(), "the widget gallery has no item " + std::to_string(index));
    endGallery(index);
}

void HeadlessWidgetBoard::cancelGallery() {
    VERIFY(gallery_, "no widget gallery is open");
    endGallery(std::nullopt);
}

void HeadlessWidgetBoard::pickOption(const std::string& identifier) {
    VERIFY(optionRequest_, "no option chooser is open");
    const bool offered = std::ranges::any_of(optionRequest_->sections, [&identifier](const OptionSection& section) {
        return std::ranges::any_of(section.options,
                                   [&identifier](const Option& option) { return option.identifier == identifier; });
    });
    VERIFY(offered, "the option chooser offers no " + quoted(identifier));
    endOptionChooser(identifier);
}

void HeadlessWidgetBoard::cancelOptionChooser() {
    VERIFY(optionRequest_, "no option chooser is open");
    endOptionChooser(std::nullopt);
}

// The chooser is closed before its answer is given, so that the answer may open another.
void HeadlessWidgetBoard::endGallery(std::optional<std::size_t> index) {
    effects_.record("widget gallery -> " + (index ? quoted((*gallery_)[*index].displayName) : std::string("cancelled")));
    gallery_.reset();
    auto chosen = std::exchange(galleryChosen_, nullptr);
    if (chosen) {
        chosen(index);
    }
}

void HeadlessWidgetBoard::endOptionChooser(std::optional<std::string> identifier) {
    effects_.record("option chooser -> " + (identifier ? quoted(*identifier) : std::string("cancelled")));
    optionRequest_.reset();
    auto chosen = std::exchange(optionChosen_, nullptr);
    if (chosen) {
        chosen(std::move(identifier));
    }
}

}  // namespace headless
