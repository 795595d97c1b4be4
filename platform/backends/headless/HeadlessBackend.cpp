#include "platform/backends/headless/HeadlessBackend.hpp"

#include "platform/runtime/base/Installable.hpp"
#include "platform/runtime/base/Verify.hpp"

#include <atomic>

namespace headless {

namespace {

// Written once in main() before other threads start; an atomic so that a thread that reads it
// later sees the backend whole.
std::atomic<HeadlessBackend*> current{nullptr};

}  // namespace

using base::installNew;

HeadlessBackend::HeadlessBackend()
    : application_(installNew<HeadlessApplicationService>(effects_)),
      windows_(installNew<HeadlessWindowService>(effects_)),
      dock_(installNew<HeadlessDockService>()),
      push_(installNew<HeadlessPushService>(effects_)),
      notifications_(installNew<HeadlessNotificationService>(effects_)),
      updaterDriver_(installNew<HeadlessUpdaterUserDriver>(effects_)),
      statusBar_(installNew<HeadlessStatusBarService>(effects_)),
      workspace_(installNew<HeadlessWorkspaceService>(effects_)),
      panels_(installNew<HeadlessPanelService>(effects_)),
      audio_(installNew<HeadlessAudioOutput>(effects_)),
      paths_(installNew<HeadlessPathService>()),
      websiteData_(installNew<HeadlessWebsiteData>(effects_)),
      webEngine_(installNew<HeadlessWebEngine>(effects_)),
      timelines_(installNew<HeadlessTimelineService>(effects_)),
      windowRealizer_(installNew<HeadlessWindowRealizer>()),
      widgetBoard_(installNew<HeadlessWidgetBoard>(effects_)),
      intents_(installNew<HeadlessIntentService>()) {}

HeadlessBackend& HeadlessBackend::installed() {
    HeadlessBackend* backend = current.load(std::memory_order_acquire);
    VERIFY(backend != nullptr, "the headless backend is not installed: main() calls headless::installAll() first");
    return *backend;
}

HeadlessBackend& installAll() {
    // Never freed, as the fakes its kits own: they record into its effects until the process ends.
    // A second call stops at the first kit that has its implementation already.
    auto* backend = new HeadlessBackend;
    current.store(backend, std::memory_order_release);
    return *backend;
}

}  // namespace headless
