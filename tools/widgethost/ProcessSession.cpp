#include "tools/widgethost/ExtensionSession.hpp"

namespace widgethost {
namespace {

class ProcessSession final : public ExtensionSession {
public:
    // The default bounds: a timeline may wait for one 60-second API call and then the icon
    // downloads, which are normally quick, so 90 s leaves it room; an extension still silent then
    // is stopped and the widget keeps what it showed.
    ProcessSession(const std::string& executable, widgetkit::WidgetExtensionHost::PrintedLine printed)
        : host_({executable}, std::move(printed), widgetkit::WidgetExtensionHost::Bounds{}) {}

    std::vector<widgetkit::WidgetDescription> widgets() override { return host_.widgets(); }
    widgetkit::RenderedEntry placeholder(const widgetkit::WidgetRequest& request) override {
        return host_.placeholder(request);
    }
    widgetkit::RenderedEntry snapshot(const widgetkit::WidgetRequest& request) override {
        return host_.snapshot(request);
    }
    widgetkit::RenderedTimeline timeline(const widgetkit::WidgetRequest& request) override {
        return host_.timeline(request);
    }

private:
    widgetkit::WidgetExtensionHost host_;
};

}  // namespace

SessionFactory processSessions(std::string executable, widgetkit::WidgetExtensionHost::PrintedLine printed) {
    return [executable = std::move(executable), printed = std::move(printed)]() -> std::unique_ptr<ExtensionSession> {
        return std::make_unique<ProcessSession>(executable, printed);
    };
}

}  // namespace widgethost
