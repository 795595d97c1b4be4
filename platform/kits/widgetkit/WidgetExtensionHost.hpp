#pragma once

#include "platform/kits/intents/Intent.hpp"
#include "platform/kits/widgetkit/RenderedEntry.hpp"
#include "platform/kits/widgetkit/WidgetFamily.hpp"

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace widgetkit {

// The extension could not answer: it ended, answered with an error (an unknown kind, a family the
// widget does not support), or answered what cannot be read.
class WidgetExtensionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// No answer came within the bound; the extension was stopped.
class WidgetExtensionTimeout : public WidgetExtensionError {
public:
    using WidgetExtensionError::WidgetExtensionError;
};

// What the host asks of one widget.
struct WidgetRequest {
    std::string kind;
    WidgetFamily family = WidgetFamily::systemSmall;
    double scale = 1;
    // For the gallery.
    bool isPreview = false;
    // The widget's configuration intent; none for a widget without one, or never configured.
    std::shared_ptr<const intents::Intent> configuration;
};

// The host side: starts the widget extension, as the system's widget host would, and asks it one
// thing at a time over its standard streams, waiting for each answer at most as long as the bound
// of its kind. Lines the extension prints besides its answers go to `printed`; its standard error is
// the host's own. Every call throws WidgetExtensionError (WidgetExtensionTimeout when the bound
// passed; the extension is stopped then, never waited for).
class WidgetExtensionHost {
public:
    struct Bounds {
        // The widgets, a placeholder, a gallery snapshot: answered without waiting for anything.
        std::chrono::milliseconds immediate{10'000};
        // A live snapshot or a timeline: an API call and the icon downloads.
        std::chrono::milliseconds timeline{90'000};
    };
    using PrintedLine = std::function<void(std::string_view line)>;

    // command[0] is the extension's executable; it inherits the environment.
    WidgetExtensionHost(std::vector<std::string> command, PrintedLine printed, Bounds bounds);
    WidgetExtensionHost(std::vector<std::string> command, PrintedLine printed)
        : WidgetExtensionHost(std::move(command), std::move(printed), Bounds{}) {}
    // Closes the extension's input and waits for it to end, as finish() does.
    ~WidgetExtensionHost();
    WidgetExtensionHost(const WidgetExtensionHost&) = delete;
    WidgetExtensionHost& operator=(const WidgetExtensionHost&) = delete;

    [[nodiscard]] std::vector<WidgetDescription> widgets();
    [[nodiscard]] RenderedEntry placeholder(const WidgetRequest& request);
    [[nodiscard]] RenderedEntry snapshot(const WidgetRequest& request);
    [[nodiscard]] RenderedTimeline timeline(const WidgetRequest& request);

    // Closes the extension's input, waits a short bound for it to end, then kills it: its exit
    // status, or 128 plus the signal that ended it.
    int finish();

private:
    struct Channel;
    std::unique_ptr<Channel> channel_;
};

}  // namespace widgetkit
