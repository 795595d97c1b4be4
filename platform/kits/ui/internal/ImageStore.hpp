#pragma once

#include "platform/kits/ui/Color.hpp"
#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/ui/Node.hpp"

#include <cairo.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace ui::internal {

// A decoded picture: an SVG document drawn by librsvg at any size, or a bitmap.
class Picture {
public:
    virtual ~Picture() = default;
    [[nodiscard]] virtual Size intrinsicSize() const = 0;
    // Draws the picture stretched into `target`.
    virtual void draw(cairo_t* cairo, const Rect& target) const = 0;
};

// Finds and decodes the pictures that images name, and keeps them: asset and resource images from
// the main bundle, system symbols from the freedesktop icon theme (drawn in the foreground colour,
// with a figure of our own where the theme has none), and pictures from bytes.
class ImageStore {
public:
    static ImageStore& shared();

    [[nodiscard]] bool decodable(const std::shared_ptr<const std::vector<std::uint8_t>>& bytes);

    // The image's size when not resized; a symbol is as tall as a line of the font.
    [[nodiscard]] Size intrinsicSize(const node::Image& image, double fontSize);

    // Draws the image into `target`; a symbol takes `tint`.
    void draw(cairo_t* cairo, const node::Image& image, const Rect& target, const RGBA& tint);

    // The icon-theme file a system symbol maps to, when the theme has it.
    [[nodiscard]] static std::optional<std::string> symbolFile(const std::string& symbol);

private:
    ImageStore() = default;
    std::shared_ptr<const Picture> picture(const node::Image& image);
    std::shared_ptr<const Picture> load(const node::Image& image);

    std::mutex lock_;
    std::map<std::string, std::shared_ptr<const Picture>> byName_;
    std::map<const std::vector<std::uint8_t>*, std::pair<std::weak_ptr<const std::vector<std::uint8_t>>,
                                                          std::shared_ptr<const Picture>>> byBytes_;
};

}  // namespace ui::internal
