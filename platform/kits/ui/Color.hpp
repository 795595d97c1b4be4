#pragma once

#include "platform/kits/ui/ColorScheme.hpp"

#include <string>

namespace ui {

// Components in sRGB, 0 to 1, not premultiplied.
struct RGBA {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 0;
    friend bool operator==(const RGBA&, const RGBA&) = default;
};

// A colour as a view names it: fixed components, a colour of the asset catalogue, or a colour that
// follows the colour scheme (the primary text colour). Asset and semantic colours are resolved
// where they are drawn, against that place's colour scheme.
class Color {
public:
    enum class Kind { components, asset, primary, secondary, accent };

    // Named colour of the main bundle's asset catalogue.
    explicit Color(std::string assetName) : kind_(Kind::asset), name_(std::move(assetName)) {}
    static Color sRGB(double red, double green, double blue, double opacity = 1.0) {
        return Color(RGBA{red, green, blue, opacity});
    }

    static Color black() { return sRGB(0, 0, 0); }
    static Color white() { return sRGB(1, 1, 1); }
    static Color clear() { return sRGB(0, 0, 0, 0); }
    static Color primary() { return Color(Kind::primary); }
    static Color secondary() { return Color(Kind::secondary); }
    static Color accentColor() { return Color(Kind::accent); }

    [[nodiscard]] Color opacity(double factor) const {
        Color copy = *this;
        copy.opacity_ *= factor;
        return copy;
    }

    [[nodiscard]] Kind kind() const noexcept { return kind_; }
    [[nodiscard]] const std::string& assetName() const noexcept { return name_; }

    // The components to paint with in the given scheme. An asset the catalogue lacks is clear.
    [[nodiscard]] RGBA resolve(ColorScheme scheme) const;

    friend bool operator==(const Color&, const Color&) = default;

private:
    explicit Color(RGBA components) : kind_(Kind::components), components_(components) {}
    explicit Color(Kind kind) : kind_(kind) {}

    Kind kind_;
    RGBA components_{};
    std::string name_;
    double opacity_ = 1.0;
};

}  // namespace ui
