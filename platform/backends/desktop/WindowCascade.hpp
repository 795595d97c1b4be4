#pragma once

using GtkWindow = struct _GtkWindow;

namespace desktop {

// Where a new window goes: a step down and to the right of the key window, the height of the key
// window's title bar, so that windows opened one after another cascade rather than hide each other.
// A window that would cross the right or the bottom edge of the work area starts again at its left
// or top edge.
class WindowCascade {
public:
    struct Frame {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };
    struct Position {
        int x = 0;
        int y = 0;
        friend bool operator==(const Position&, const Position&) = default;
    };

    // The top-left corner of a window `width` by `height` that follows the key window's at `key`.
    [[nodiscard]] static Position after(Position key, int step, int width, int height, const Frame& workArea);

    // Asks for `window`, not shown yet, to be placed after `key` on the key window's monitor.
    static void place(GtkWindow* window, GtkWindow* key);
};

}  // namespace desktop
