#pragma once

namespace widgetkit {

class WidgetBundle;

// The extension side of the widget host's protocol, the whole of a widget extension's main(): reads
// the host's requests (the bundle's widgets, a placeholder, a snapshot, a timeline) from standard
// input and writes each answer, its entries drawn (WidgetRenderer), to standard output. A request
// for a kind the bundle lacks or a family the widget does not support is answered with an error.
// Each provider's completion is taken once; a second one is dropped and said on standard error.
// Runs the main loop meanwhile. When the input ends (the host went away) the work still in flight is
// cancelled and nothing more is written; returns the exit status.
class WidgetRuntime {
public:
    WidgetRuntime() = delete;

    static int run(const WidgetBundle& bundle);
};

}  // namespace widgetkit
