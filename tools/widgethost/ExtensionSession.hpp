#pragma once

#include "platform/kits/widgetkit/WidgetExtensionHost.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace widgethost {

// One running widget extension, asked one thing at a time. Every call blocks until the answer and
// throws widgetkit::WidgetExtensionError (WidgetExtensionTimeout when its bound passed).
class ExtensionSession {
public:
    virtual ~ExtensionSession() = default;
    [[nodiscard]] virtual std::vector<widgetkit::WidgetDescription> widgets() = 0;
    [[nodiscard]] virtual widgetkit::RenderedEntry placeholder(const widgetkit::WidgetRequest& request) = 0;
    [[nodiscard]] virtual widgetkit::RenderedEntry snapshot(const widgetkit::WidgetRequest& request) = 0;
    [[nodiscard]] virtual widgetkit::RenderedTimeline timeline(const widgetkit::WidgetRequest& request) = 0;
};

// Starts a fresh extension: the extension reads the login token once per process, so each batch of
// requests gets its own. Throws WidgetExtensionError when it cannot be started.
using SessionFactory = std::function<std::unique_ptr<ExtensionSession>()>;

// Sessions on the extension's executable; what it prints besides its answers goes to `printed`.
SessionFactory processSessions(std::string executable, widgetkit::WidgetExtensionHost::PrintedLine printed);

}  // namespace widgethost
