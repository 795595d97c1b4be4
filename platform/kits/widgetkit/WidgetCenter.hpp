#pragma once

namespace widgetkit {

// The application's and the intents extension's way to tell the widget host that what the widgets
// show has changed.
class WidgetCenter {
public:
    static WidgetCenter& shared();

    // Asks the widget host to make new timelines for every widget. Returns at once, from any thread;
    // the request reaches a host that runs now and one that starts later (ReloadRequests).
    void reloadAllTimelines();

    WidgetCenter(const WidgetCenter&) = delete;
    WidgetCenter& operator=(const WidgetCenter&) = delete;

private:
    WidgetCenter() = default;
};

}  // namespace widgetkit
