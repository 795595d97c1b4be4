#pragma once

#include "platform/kits/ui/Color.hpp"
#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/ui/DrawingPath.hpp"
#include "platform/kits/ui/StrokeStyle.hpp"

#include <optional>

namespace ui {

class View;

// A figure that fills the frame it is given: a circle inscribed and centred, a rectangle, a capsule,
// or a path in the frame's coordinates. It becomes a view once filled or stroked.
class Shape {
public:
    enum class Kind { circle, rectangle, capsule, path };

    static Shape circle() { return Shape(Kind::circle); }
    static Shape rectangle() { return Shape(Kind::rectangle); }
    static Shape capsule() { return Shape(Kind::capsule); }
    static Shape path(Path path) {
        Shape shape(Kind::path);
        shape.path_ = std::move(path);
        return shape;
    }

    // Keeps the part of the outline between the two fractions of its length.
    [[nodiscard]] Shape trim(double from, double to) const {
        Shape copy = *this;
        copy.trimFrom_ = from;
        copy.trimTo_ = to;
        return copy;
    }

    [[nodiscard]] View stroke(Color color, StrokeStyle style) const;
    [[nodiscard]] View stroke(Color color, double lineWidth = 1) const;
    [[nodiscard]] View fill(Color color) const;
    // Filled with the foreground colour of the environment.
    [[nodiscard]] View view() const;

    [[nodiscard]] Kind kind() const noexcept { return kind_; }
    [[nodiscard]] const Path& customPath() const noexcept { return path_; }
    [[nodiscard]] double trimFrom() const noexcept { return trimFrom_; }
    [[nodiscard]] double trimTo() const noexcept { return trimTo_; }

    // The outline in a frame of this size, before trimming.
    [[nodiscard]] Path outline(Size size) const;

private:
    explicit Shape(Kind kind) : kind_(kind) {}

    Kind kind_;
    Path path_;
    double trimFrom_ = 0;
    double trimTo_ = 1;
};

// The views a shape becomes.
inline Shape Circle() { return Shape::circle(); }
inline Shape Rectangle() { return Shape::rectangle(); }
inline Shape Capsule() { return Shape::capsule(); }

}  // namespace ui
