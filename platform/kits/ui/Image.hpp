#pragma once

#include "platform/kits/ui/View.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// An image of the asset catalogue, of the bundle's resources, a system symbol, or decoded from
// bytes. Symbols take the foreground colour; pictures keep their own.
class Image {
public:
    static Image named(std::string assetName);
    static Image bundleResource(std::string name);
    static Image systemName(std::string symbol);
    // Absent when the bytes are no image this platform decodes (PNG, JPEG, GIF, WebP, SVG...).
    static std::optional<Image> fromData(std::vector<std::uint8_t> bytes);

    // Takes the size it is offered instead of its own.
    [[nodiscard]] Image resizable() const {
        Image copy = *this;
        copy.resizable_ = true;
        return copy;
    }

    operator View() const;  // NOLINT: an image is a view
    [[nodiscard]] View view() const { return static_cast<View>(*this); }

private:
    enum class Source { asset, bundleResource, systemSymbol, data };
    Image(Source source, std::string name) : source_(source), name_(std::move(name)) {}

    Source source_;
    std::string name_;
    std::shared_ptr<const std::vector<std::uint8_t>> bytes_;
    bool resizable_ = false;
};

}  // namespace ui
