#pragma once

#include "platform/kits/ui/EnvironmentValues.hpp"
#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/ui/Node.hpp"

#include <cairo.h>
#include <pango/pango.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace ui::internal {

// Shapes text with Pango on the fonts fontconfig finds (colour emoji included). Metrics are not
// hinted, so a text measures the same at every scale and draws where the layout put it.
class TextShaper {
public:
    // One per thread: Pango's font maps are not shared between threads.
    static TextShaper& current();

    // The size of the text wrapped at `width` (absent or infinite: not wrapped) and cut to
    // `maxLines` lines (absent: all lines).
    [[nodiscard]] Size measure(const node::Text& text, const EnvironmentValues& environment,
                               std::optional<double> width, std::optional<int> maxLines);

    // Shapes a sample in the system font, which nearly every text uses: the first text waits for
    // the font configuration to be read and the font found and opened, most of a first frame.
    void prepareSystemFont();

    // Draws the text into `frame` as measured for the frame's width.
    void draw(cairo_t* cairo, const node::Text& text, const EnvironmentValues& environment, const Rect& frame,
              std::optional<int> maxLines);

    TextShaper(const TextShaper&) = delete;
    TextShaper& operator=(const TextShaper&) = delete;
    ~TextShaper();

private:
    TextShaper();
    // `colors`, one for each run, when the layout is drawn; absent when it is only measured.
    PangoLayout* prepare(const node::Text& text, const EnvironmentValues& environment, std::optional<double> width,
                         std::optional<int> maxLines, const std::vector<RGBA>* colors);
    static std::string sizeKey(const node::Text& text, const EnvironmentValues& environment,
                               std::optional<double> width, std::optional<int> maxLines);
    static std::vector<RGBA> runColors(const node::Text& text, const EnvironmentValues& environment);
    void forgetLayouts();

    Size shape(const node::Text& text, const EnvironmentValues& environment, std::optional<double> width,
               std::optional<int> maxLines);

    PangoContext* context_;
    std::unordered_map<std::string, Size> sizes_;
    // Laid out for drawing, owned: a frame drawn again draws the same texts without shaping them.
    std::unordered_map<std::string, PangoLayout*> layouts_;
};

}  // namespace ui::internal
