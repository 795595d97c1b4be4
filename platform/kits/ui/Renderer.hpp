#pragma once

#include "platform/kits/ui/Bitmap.hpp"
#include "platform/kits/ui/ControlMetrics.hpp"
#include "platform/kits/ui/EnvironmentValues.hpp"
#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/ui/LaidOutView.hpp"
#include "platform/kits/ui/View.hpp"

namespace ui {

// Paints view trees into bitmaps with Cairo, Pango and librsvg: the same drawing on every machine,
// with a display or without.
class Renderer {
public:
    // A window that shows native views (NativeView) as widgets paints the rest in two layers: what
    // comes before the first native view in painting order, under the widgets, and what comes after
    // it, over them.
    enum class Layer { all, behindNativeViews, inFrontOfNativeViews };

    struct Options {
        // Device pixels per point.
        double scale = 1;
        EnvironmentValues environment;
        const ControlMetrics* metrics = &ControlMetrics::standard();
        // Off when a window's toolkit draws the controls, texts and images itself.
        bool drawControls = true;
        // The point of the tree that lands at the bitmap's top-left corner.
        Point origin;
        Layer layer = Layer::all;

        static Options atScale(double scale) {
            Options options;
            options.scale = scale;
            return options;
        }
    };

    // Lays the view out in `size` points and paints it into a bitmap of size × scale pixels.
    [[nodiscard]] static Bitmap render(const View& view, Size size, const Options& options);
    [[nodiscard]] static Bitmap render(const View& view, Size size) { return render(view, size, Options{}); }
    // Paints a tree already laid out (and perhaps moved by an animation) into `size` points.
    [[nodiscard]] static Bitmap render(const LaidOutView& laidOut, Size size, const Options& options);
    // The same into a bitmap of the right size that the caller keeps between frames.
    static void paint(const LaidOutView& laidOut, Bitmap& into, const Options& options);
    // Readies the system font for this thread's first frame, for a caller with time to spare
    // before it, such as while what to draw is still being read.
    static void prepareSystemFont();
};

}  // namespace ui
