#include "platform/kits/ui/Renderer.hpp"

#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/internal/ImageStore.hpp"
#include "platform/kits/ui/internal/TextShaper.hpp"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

void setSource(cairo_t* cairo, const RGBA& color) { cairo_set_source_rgba(cairo, color.red, color.green, color.blue, color.alpha); }

void appendPath(cairo_t* cairo, const Path& path, Point origin) {
    for (const auto& element : path.elements()) {
        switch (element.kind) {
        case Path::Element::Kind::move:
            cairo_move_to(cairo, origin.x + element.point.x, origin.y + element.point.y);
            break;
        case Path::Element::Kind::line:
            cairo_line_to(cairo, origin.x + element.point.x, origin.y + element.point.y);
            break;
        case Path::Element::Kind::arc:
            cairo_arc(cairo, origin.x + element.point.x, origin.y + element.point.y, element.radius, element.startAngle,
                      element.endAngle);
            break;
        case Path::Element::Kind::close:
            cairo_close_path(cairo);
            break;
        }
    }
}

// Keeps the part of the current path between two fractions of its length, by walking its flattened
// outline. A closed figure is walked once around, closing segment included.
void trimCurrentPath(cairo_t* cairo, double from, double to) {
    cairo_path_t* flat = cairo_copy_path_flat(cairo);
    cairo_new_path(cairo);
    struct Segment {
        Point a, b;
    };
    std::vector<Segment> segments;
    Point current{};
    Point start{};
    for (int i = 0; i < flat->num_data; i += flat->data[i].header.length) {
        const cairo_path_data_t* data = &flat->data[i];
        switch (data->header.type) {
        case CAIRO_PATH_MOVE_TO:
            current = start = {data[1].point.x, data[1].point.y};
            break;
        case CAIRO_PATH_LINE_TO: {
            const Point next{data[1].point.x, data[1].point.y};
            segments.push_back({current, next});
            current = next;
            break;
        }
        case CAIRO_PATH_CLOSE_PATH:
            segments.push_back({current, start});
            current = start;
            break;
        case CAIRO_PATH_CURVE_TO:
            break;
        }
    }
    cairo_path_destroy(flat);
    double total = 0;
    for (const auto& segment : segments) {
        total += std::hypot(segment.b.x - segment.a.x, segment.b.y - segment.a.y);
    }
    const double begin = from * total;
    const double end = to * total;
    double walked = 0;
    bool drawing = false;
    for (const auto& segment : segments) {
        const double length = std::hypot(segment.b.x - segment.a.x, segment.b.y - segment.a.y);
        const double next = walked + length;
        if (next > begin && walked < end && length > 0) {
            const double t0 = std::max(0.0, (begin - walked) / length);
            const double t1 = std::min(1.0, (end - walked) / length);
            const auto at = [&](double t) {
                return Point{segment.a.x + (segment.b.x - segment.a.x) * t, segment.a.y + (segment.b.y - segment.a.y) * t};
            };
            if (!drawing) {
                const Point p = at(t0);
                cairo_move_to(cairo, p.x, p.y);
                drawing = true;
            }
            const Point q = at(t1);
            cairo_line_to(cairo, q.x, q.y);
        }
        walked = next;
    }
}

cairo_line_cap_t cap(LineCap value) {
    switch (value) {
    case LineCap::butt: return CAIRO_LINE_CAP_BUTT;
    case LineCap::round: return CAIRO_LINE_CAP_ROUND;
    case LineCap::square: return CAIRO_LINE_CAP_SQUARE;
    }
    return CAIRO_LINE_CAP_BUTT;
}

cairo_line_join_t join(LineJoin value) {
    switch (value) {
    case LineJoin::miter: return CAIRO_LINE_JOIN_MITER;
    case LineJoin::round: return CAIRO_LINE_JOIN_ROUND;
    case LineJoin::bevel: return CAIRO_LINE_JOIN_BEVEL;
    }
    return CAIRO_LINE_JOIN_MITER;
}

// Builds the shape's outline at `frame`, trimmed; false when nothing of it is left.
bool shapePath(cairo_t* cairo, const Shape& shape, const Rect& frame, double from, double to) {
    from = std::clamp(from, 0.0, 1.0);
    to = std::clamp(to, 0.0, 1.0);
    cairo_new_path(cairo);
    if (to <= from) {
        return false;
    }
    if (shape.kind() == Shape::Kind::circle) {
        const double radius = std::min(frame.width(), frame.height()) / 2;
        const double a0 = 2 * M_PI * from;
        const double a1 = 2 * M_PI * to;
        cairo_arc(cairo, frame.midX(), frame.midY(), radius, a0, a1);
        if (from == 0.0 && to == 1.0) {
            cairo_close_path(cairo);
        }
        return true;
    }
    appendPath(cairo, shape.outline(frame.size), frame.origin);
    if (from > 0.0 || to < 1.0) {
        trimCurrentPath(cairo, from, to);
    }
    return true;
}

class Painter {
public:
    Painter(cairo_t* cairo, const Renderer::Options& options) : cairo_(cairo), options_(options) {}

    // Any view may be see-through: an opacity modifier, or a view that fades in or out.
    void paint(const LaidOutView& view) {
        if (view.opacity >= 1.0) {
            paintOpaque(view);
            return;
        }
        if (view.opacity <= 0.0) {
            return;
        }
        // The group is only as large as what the view can draw, not the whole bitmap.
        const Rect ink = inkBounds(view);
        cairo_save(cairo_);
        cairo_rectangle(cairo_, ink.minX(), ink.minY(), ink.width(), ink.height());
        cairo_clip(cairo_);
        cairo_push_group(cairo_);
        paintOpaque(view);
        cairo_pop_group_to_source(cairo_);
        cairo_paint_with_alpha(cairo_, view.opacity);
        cairo_restore(cairo_);
    }

    // Where a view and those below it can put paint: their frames, widened by half of any stroke,
    // and by a rotation's sweep; a little more for antialiasing.
    static Rect inkBounds(const LaidOutView& view) {
        double minX = view.frame.minX();
        double minY = view.frame.minY();
        double maxX = view.frame.maxX();
        double maxY = view.frame.maxY();
        double margin = 2;
        if (const auto* shape = view.as<node::ShapeView>(); shape != nullptr && shape->strokeColor) {
            margin += shape->stroke.lineWidth / 2 + (shape->stroke.lineJoin == LineJoin::miter ? shape->stroke.lineWidth * shape->stroke.miterLimit / 2 : 0);
        }
        for (const LaidOutView& child : view.children) {
            const Rect inner = inkBounds(child);
            minX = std::min(minX, inner.minX());
            minY = std::min(minY, inner.minY());
            maxX = std::max(maxX, inner.maxX());
            maxY = std::max(maxY, inner.maxY());
        }
        if (view.as<node::Rotation>() != nullptr) {
            const double cx = view.frame.midX();
            const double cy = view.frame.midY();
            const double radius = std::max({std::hypot(minX - cx, minY - cy), std::hypot(maxX - cx, minY - cy),
                                            std::hypot(minX - cx, maxY - cy), std::hypot(maxX - cx, maxY - cy)});
            minX = cx - radius;
            maxX = cx + radius;
            minY = cy - radius;
            maxY = cy + radius;
        }
        if (view.as<node::Text>() != nullptr || view.as<node::Toggle>() != nullptr) {
            margin += 8;  // glyphs may reach past their line box
        }
        return {{minX - margin, minY - margin}, {maxX - minX + 2 * margin, maxY - minY + 2 * margin}};
    }

private:
    void paintOpaque(const LaidOutView& view) {
        const Node& node = *view.node;
        const EnvironmentValues& environment = *view.environment;
        std::visit(
            [&](const auto& payload) {
                using P = std::decay_t<decltype(payload)>;
                if constexpr (std::is_same_v<P, node::Native>) {
                    paintNative(view);
                } else if constexpr (std::is_same_v<P, node::ShapeView>) {
                    if (inLayer()) {
                        paintShape(view, payload, environment);
                    }
                } else if constexpr (std::is_same_v<P, node::ColorFill>) {
                    if (!inLayer()) {
                        return;
                    }
                    setSource(cairo_, payload.color.resolve(environment.colorScheme));
                    cairo_rectangle(cairo_, view.frame.minX(), view.frame.minY(), view.frame.width(), view.frame.height());
                    cairo_fill(cairo_);
                } else if constexpr (std::is_same_v<P, node::Text>) {
                    if (options_.drawControls && inLayer()) {
                        paintText(payload, environment, view.frame);
                    }
                } else if constexpr (std::is_same_v<P, node::Image>) {
                    if (options_.drawControls && inLayer()) {
                        RGBA tint = environment.foreground().resolve(environment.colorScheme);
                        internal::ImageStore::shared().draw(cairo_, payload, view.frame, tint);
                    }
                } else if constexpr (std::is_same_v<P, node::Rotation>) {
                    cairo_save(cairo_);
                    cairo_translate(cairo_, view.frame.midX(), view.frame.midY());
                    cairo_rotate(cairo_, payload.angle.radians);
                    cairo_translate(cairo_, -view.frame.midX(), -view.frame.midY());
                    children(view);
                    cairo_restore(cairo_);
                } else if constexpr (std::is_same_v<P, node::Clip>) {
                    cairo_save(cairo_);
                    if (payload.shape) {
                        shapePath(cairo_, *payload.shape, view.frame, 0, 1);
                    } else {
                        cairo_rectangle(cairo_, view.frame.minX(), view.frame.minY(), view.frame.width(), view.frame.height());
                    }
                    cairo_clip(cairo_);
                    children(view);
                    cairo_restore(cairo_);
                } else if constexpr (std::is_same_v<P, node::Background>) {
                    paint(view.children.at(1));
                    paint(view.children.at(0));
                } else if constexpr (std::is_same_v<P, node::TabView>) {
                    paintTabView(view);
                } else if constexpr (std::is_same_v<P, node::Toggle>) {
                    if (options_.drawControls && inLayer()) {
                        paintToggle(view, payload, environment);
                    }
                } else if constexpr (std::is_same_v<P, node::Button>) {
                    if (options_.drawControls) {
                        if (inLayer()) {
                            paintBezel(view.frame, environment);
                        }
                        children(view);
                    }
                } else if constexpr (std::is_same_v<P, node::ProgressView>) {
                    if (inLayer()) {
                        paintProgress(view, payload, environment);
                    }
                } else {
                    children(view);
                }
            },
            node.payload);
    }

    // Whether what comes now in painting order belongs to the layer being painted.
    [[nodiscard]] bool inLayer() const {
        switch (options_.layer) {
        case Renderer::Layer::all: return true;
        case Renderer::Layer::behindNativeViews: return !passedNative_;
        case Renderer::Layer::inFrontOfNativeViews: return passedNative_;
        }
        return true;
    }

    // Where the platform shows nothing of its own: a light panel with a cross, so that a picture
    // shows where the native view is and how opaque.
    void paintNative(const LaidOutView& view) {
        if (options_.drawControls && options_.layer == Renderer::Layer::all) {
            const Rect& frame = view.frame;
            cairo_set_source_rgb(cairo_, 0.96, 0.96, 0.96);
            cairo_rectangle(cairo_, frame.minX(), frame.minY(), frame.width(), frame.height());
            cairo_fill_preserve(cairo_);
            cairo_move_to(cairo_, frame.minX(), frame.minY());
            cairo_line_to(cairo_, frame.maxX(), frame.maxY());
            cairo_move_to(cairo_, frame.maxX(), frame.minY());
            cairo_line_to(cairo_, frame.minX(), frame.maxY());
            cairo_set_source_rgb(cairo_, 0.75, 0.75, 0.75);
            cairo_set_line_width(cairo_, 1);
            cairo_stroke(cairo_);
        }
        passedNative_ = true;
    }

    void children(const LaidOutView& view) {
        for (const LaidOutView& child : view.children) {
            paint(child);
        }
    }

    void paintShape(const LaidOutView& view, const node::ShapeView& payload, const EnvironmentValues& environment) {
        if (!shapePath(cairo_, payload.shape, view.frame, view.trimFrom, view.trimTo)) {
            return;
        }
        if (payload.strokeColor) {
            const StrokeStyle& style = payload.stroke;
            setSource(cairo_, payload.strokeColor->resolve(environment.colorScheme));
            cairo_set_line_width(cairo_, style.lineWidth);
            cairo_set_line_cap(cairo_, cap(style.lineCap));
            cairo_set_line_join(cairo_, join(style.lineJoin));
            cairo_set_miter_limit(cairo_, style.miterLimit);
            cairo_set_dash(cairo_, style.dash.data(), static_cast<int>(style.dash.size()), style.dashPhase);
            cairo_stroke(cairo_);
            return;
        }
        setSource(cairo_, payload.fill.value_or(environment.foreground()).resolve(environment.colorScheme));
        cairo_fill(cairo_);
    }

    void paintText(const node::Text& text, const EnvironmentValues& environment, const Rect& frame) {
        auto& shaper = internal::TextShaper::current();
        std::optional<int> lines = environment.lineLimit;
        const Size full = shaper.measure(text, environment, frame.width(), lines);
        if (full.height > frame.height() + 0.5) {
            const double line = shaper.measure(text, environment, frame.width(), 1).height;
            const int fit = std::max(1, static_cast<int>(std::floor(frame.height() / std::max(line, 1.0))));
            lines = std::min(fit, lines.value_or(fit));
        }
        shaper.draw(cairo_, text, environment, frame, lines);
    }

    void paintBezel(const Rect& frame, const EnvironmentValues& environment) {
        const bool dark = environment.colorScheme == ColorScheme::dark;
        const double radius = 5;
        cairo_new_sub_path(cairo_);
        cairo_arc(cairo_, frame.maxX() - radius, frame.minY() + radius, radius, -M_PI / 2, 0);
        cairo_arc(cairo_, frame.maxX() - radius, frame.maxY() - radius, radius, 0, M_PI / 2);
        cairo_arc(cairo_, frame.minX() + radius, frame.maxY() - radius, radius, M_PI / 2, M_PI);
        cairo_arc(cairo_, frame.minX() + radius, frame.minY() + radius, radius, M_PI, 3 * M_PI / 2);
        cairo_close_path(cairo_);
        cairo_set_source_rgba(cairo_, dark ? 0.35 : 1, dark ? 0.35 : 1, dark ? 0.37 : 1, 1);
        cairo_fill_preserve(cairo_);
        cairo_set_source_rgba(cairo_, 0, 0, 0, 0.2);
        cairo_set_line_width(cairo_, 1);
        cairo_stroke(cairo_);
    }

    void paintToggle(const LaidOutView& view, const node::Toggle& payload, const EnvironmentValues& environment) {
        const Rect box{{view.frame.minX() + 1, view.frame.midY() - 8}, {16, 16}};
        const bool on = payload.get && payload.get();
        const double dim = environment.isEnabled ? 1.0 : 0.5;
        if (on) {
            const RGBA accent = Color::accentColor().resolve(environment.colorScheme);
            cairo_set_source_rgba(cairo_, accent.red, accent.green, accent.blue, dim);
        } else {
            cairo_set_source_rgba(cairo_, 1, 1, 1, dim);
        }
        cairo_rectangle(cairo_, box.minX(), box.minY(), box.width(), box.height());
        cairo_fill_preserve(cairo_);
        cairo_set_source_rgba(cairo_, 0, 0, 0, 0.3 * dim);
        cairo_set_line_width(cairo_, 1);
        cairo_stroke(cairo_);
        if (on) {
            cairo_set_source_rgba(cairo_, 1, 1, 1, dim);
            cairo_set_line_width(cairo_, 2);
            cairo_move_to(cairo_, box.minX() + 4, box.midY());
            cairo_line_to(cairo_, box.minX() + 7, box.midY() + 3);
            cairo_line_to(cairo_, box.minX() + 12, box.minY() + 4);
            cairo_stroke(cairo_);
        }
        const node::Text title{{node::TextRun{payload.title, {}, {}, {}}}};
        const Size size = internal::TextShaper::current().measure(title, environment, std::nullopt, 1);
        internal::TextShaper::current().draw(
            cairo_, title, environment, {{view.frame.minX() + 24, view.frame.midY() - size.height / 2}, size}, 1);
    }

    void paintTabView(const LaidOutView& view) {
        if (!options_.drawControls) {
            return;  // the toolkit's tab view shows the tabs and their content
        }
        const double bar = options_.metrics->tabBarHeight();
        const bool dark = view.environment->colorScheme == ColorScheme::dark;
        cairo_set_source_rgba(cairo_, dark ? 1 : 0, dark ? 1 : 0, dark ? 1 : 0, 0.06);
        cairo_rectangle(cairo_, view.frame.minX(), view.frame.minY(), view.frame.width(), bar);
        cairo_fill(cairo_);
        for (std::size_t i = 0; i < view.children.size(); ++i) {
            const LaidOutView& item = view.children[i];
            if (item.children.size() == 2) {
                if (i == view.selection) {
                    const Rect& label = item.children[1].frame;
                    cairo_set_source_rgba(cairo_, dark ? 1 : 0, dark ? 1 : 0, dark ? 1 : 0, 0.1);
                    cairo_rectangle(cairo_, label.minX() - 6, view.frame.minY() + 3, label.width() + 12, bar - 6);
                    cairo_fill(cairo_);
                }
                if (options_.drawControls) {
                    paint(item.children[1]);
                }
            }
        }
        if (view.selection < view.children.size()) {
            const LaidOutView& selected = view.children[view.selection];
            if (!selected.children.empty()) {
                paint(selected.children.front());
            }
        }
    }

    void paintProgress(const LaidOutView& view, const node::ProgressView& payload, const EnvironmentValues& environment) {
        const double fraction = payload.total > 0 ? std::clamp(payload.value / payload.total, 0.0, 1.0) : 0.0;
        const double radius = std::min(view.frame.width(), view.frame.height()) / 2 - 2;
        cairo_set_line_width(cairo_, 3);
        const RGBA color = environment.tint.value_or(environment.foreground()).resolve(environment.colorScheme);
        cairo_set_source_rgba(cairo_, color.red, color.green, color.blue, color.alpha * 0.25);
        cairo_new_path(cairo_);
        cairo_arc(cairo_, view.frame.midX(), view.frame.midY(), radius, 0, 2 * M_PI);
        cairo_stroke(cairo_);
        if (fraction > 0) {
            setSource(cairo_, color);
            cairo_arc(cairo_, view.frame.midX(), view.frame.midY(), radius, -M_PI / 2, -M_PI / 2 + 2 * M_PI * fraction);
            cairo_stroke(cairo_);
        }
    }

    cairo_t* cairo_;
    const Renderer::Options& options_;
    bool passedNative_ = false;
};

}  // namespace

Bitmap Renderer::render(const View& view, Size size, const Options& options) {
    LayoutEngine::Options layoutOptions;
    layoutOptions.metrics = options.metrics;
    LayoutEngine engine(layoutOptions);
    return render(engine.layout(view, size, options.environment), size, options);
}

namespace {

void paintInto(const LaidOutView& laidOut, Bitmap& into, const Renderer::Options& options) {
    cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(into.data()),
                                                                   CAIRO_FORMAT_ARGB32, into.width(), into.height(), into.stride());
    cairo_t* cairo = cairo_create(surface);
    cairo_scale(cairo, options.scale, options.scale);
    cairo_translate(cairo, -options.origin.x, -options.origin.y);
    Painter(cairo, options).paint(laidOut);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
}

}  // namespace

Bitmap Renderer::render(const LaidOutView& laidOut, Size size, const Options& options) {
    // A new bitmap is clear already.
    Bitmap bitmap(static_cast<int>(std::ceil(size.width * options.scale)), static_cast<int>(std::ceil(size.height * options.scale)));
    paintInto(laidOut, bitmap, options);
    return bitmap;
}

void Renderer::prepareSystemFont() { internal::TextShaper::current().prepareSystemFont(); }

void Renderer::paint(const LaidOutView& laidOut, Bitmap& into, const Options& options) {
    std::fill(into.data(), into.data() + static_cast<std::ptrdiff_t>(into.width()) * into.height(), 0U);
    paintInto(laidOut, into, options);
}

}  // namespace ui
