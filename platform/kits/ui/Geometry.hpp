#pragma once

#include <cmath>
#include <limits>
#include <optional>

namespace ui {

// Points, not pixels: a renderer scales them to the device.
struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    Point origin;
    Size size;

    [[nodiscard]] double minX() const noexcept { return origin.x; }
    [[nodiscard]] double minY() const noexcept { return origin.y; }
    [[nodiscard]] double maxX() const noexcept { return origin.x + size.width; }
    [[nodiscard]] double maxY() const noexcept { return origin.y + size.height; }
    [[nodiscard]] double midX() const noexcept { return origin.x + size.width / 2; }
    [[nodiscard]] double midY() const noexcept { return origin.y + size.height / 2; }
    [[nodiscard]] double width() const noexcept { return size.width; }
    [[nodiscard]] double height() const noexcept { return size.height; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// What a parent offers a child in the layout negotiation. An absent dimension asks for the child's
// ideal size along it; infinity asks for its largest, zero for its smallest.
struct ProposedSize {
    std::optional<double> width;
    std::optional<double> height;

    static ProposedSize unspecified() { return {}; }
    static ProposedSize of(Size size) { return {size.width, size.height}; }
    friend bool operator==(const ProposedSize&, const ProposedSize&) = default;
};

inline constexpr double infinity = std::numeric_limits<double>::infinity();

struct Angle {
    double radians = 0;
    static Angle degrees(double value) { return Angle{value * M_PI / 180.0}; }
    static Angle inRadians(double value) { return Angle{value}; }
    friend bool operator==(const Angle&, const Angle&) = default;
};

// Which edges a padding or a safe-area rule applies to.
enum class Edge : unsigned { top = 1, leading = 2, bottom = 4, trailing = 8 };

class EdgeSet {
public:
    constexpr EdgeSet() = default;
    constexpr EdgeSet(Edge edge) : bits_(static_cast<unsigned>(edge)) {}  // NOLINT: an edge is a set of one
    static constexpr EdgeSet all() { return EdgeSet(15U); }
    static constexpr EdgeSet horizontal() { return EdgeSet(Edge::leading) | Edge::trailing; }
    static constexpr EdgeSet vertical() { return EdgeSet(Edge::top) | Edge::bottom; }
    [[nodiscard]] constexpr bool contains(Edge edge) const { return (bits_ & static_cast<unsigned>(edge)) != 0; }
    constexpr friend EdgeSet operator|(EdgeSet set, EdgeSet other) { return EdgeSet(set.bits_ | other.bits_); }
    constexpr friend bool operator==(EdgeSet, EdgeSet) = default;

private:
    constexpr explicit EdgeSet(unsigned bits) : bits_(bits) {}
    unsigned bits_ = 0;
};

struct EdgeInsets {
    double top = 0;
    double leading = 0;
    double bottom = 0;
    double trailing = 0;
    friend bool operator==(const EdgeInsets&, const EdgeInsets&) = default;
};

enum class Axis { horizontal, vertical };

}  // namespace ui
