#include "platform/kits/ui/Shape.hpp"

#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/View.hpp"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

View shapeView(node::ShapeView payload) {
    return View(std::make_shared<const Node>(Node{std::move(payload), {}}));
}

}  // namespace

View Shape::stroke(Color color, StrokeStyle style) const {
    return shapeView(node::ShapeView{*this, std::nullopt, std::move(color), std::move(style)});
}

View Shape::stroke(Color color, double lineWidth) const {
    StrokeStyle style;
    style.lineWidth = lineWidth;
    return stroke(std::move(color), style);
}

View Shape::fill(Color color) const { return shapeView(node::ShapeView{*this, std::move(color), std::nullopt, {}}); }

View Shape::view() const { return shapeView(node::ShapeView{*this, std::nullopt, std::nullopt, {}}); }

// A circle starts at its rightmost point and runs clockwise on screen, so a trim from 0 starts at
// 3 o'clock; a rotation of -90 degrees moves that start to 12 o'clock.
Path Shape::outline(Size size) const {
    Path path;
    switch (kind_) {
    case Kind::circle: {
        const double radius = std::min(size.width, size.height) / 2;
        path.addArc({size.width / 2, size.height / 2}, radius, 0, 2 * M_PI);
        path.closeSubpath();
        break;
    }
    case Kind::rectangle:
        path.move({0, 0}).addLine({size.width, 0}).addLine({size.width, size.height}).addLine({0, size.height});
        path.closeSubpath();
        break;
    case Kind::capsule: {
        const double radius = std::min(size.width, size.height) / 2;
        if (size.width >= size.height) {
            path.move({radius, 0}).addLine({size.width - radius, 0});
            path.addArc({size.width - radius, radius}, radius, -M_PI / 2, M_PI / 2);
            path.addLine({radius, size.height});
            path.addArc({radius, radius}, radius, M_PI / 2, 3 * M_PI / 2);
        } else {
            path.addArc({radius, radius}, radius, M_PI, 2 * M_PI);
            path.addLine({size.width, size.height - radius});
            path.addArc({radius, size.height - radius}, radius, 0, M_PI);
        }
        path.closeSubpath();
        break;
    }
    case Kind::path:
        path = path_;
        break;
    }
    return path;
}

}  // namespace ui
