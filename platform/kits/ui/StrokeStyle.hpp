#pragma once

#include <vector>

namespace ui {

enum class LineCap { butt, round, square };
enum class LineJoin { miter, round, bevel };

struct StrokeStyle {
    double lineWidth = 1;
    LineCap lineCap = LineCap::butt;
    LineJoin lineJoin = LineJoin::miter;
    double miterLimit = 10;
    std::vector<double> dash;
    double dashPhase = 0;
    friend bool operator==(const StrokeStyle&, const StrokeStyle&) = default;
};

}  // namespace ui
