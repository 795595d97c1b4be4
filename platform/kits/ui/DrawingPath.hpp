#pragma once

#include "platform/kits/ui/Geometry.hpp"

#include <vector>

namespace ui {

// A figure of lines and arcs in the coordinates of the view that draws it.
class Path {
public:
    struct Element {
        enum class Kind { move, line, arc, close };
        Kind kind;
        Point point;           // move, line: the target; arc: the centre
        double radius = 0;     // arc
        double startAngle = 0; // arc, radians, clockwise on screen
        double endAngle = 0;
        friend bool operator==(const Element&, const Element&) = default;
    };

    Path& move(Point to) {
        elements_.push_back({Element::Kind::move, to});
        return *this;
    }
    Path& addLine(Point to) {
        elements_.push_back({Element::Kind::line, to});
        return *this;
    }
    Path& addArc(Point center, double radius, double startAngle, double endAngle) {
        elements_.push_back({Element::Kind::arc, center, radius, startAngle, endAngle});
        return *this;
    }
    Path& closeSubpath() {
        elements_.push_back({Element::Kind::close, {}});
        return *this;
    }

    [[nodiscard]] const std::vector<Element>& elements() const noexcept { return elements_; }
    [[nodiscard]] bool isEmpty() const noexcept { return elements_.empty(); }
    friend bool operator==(const Path&, const Path&) = default;

private:
    std::vector<Element> elements_;
};

}  // namespace ui
