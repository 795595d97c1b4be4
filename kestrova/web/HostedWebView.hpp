#pragma once

#include "platform/kits/ui/NativeView.hpp"
#include "kestrova/web/WebWrapperView.hpp"

#include <memory>

namespace kestrova {

class WebWrapperViewCoordinator;

// A window's web view as a view of its content: made once while the window shows web content, it
// keeps the coordinator (and with it the one web view) across every evaluation of the content and
// brings the web view in line with each new WebWrapperView.
class HostedWebView final : public ui::NativeView {
public:
    // Makes the coordinator and its web view, which starts loading the bound page.
    explicit HostedWebView(const WebWrapperView& view);

    // After every evaluation of the window's content.
    void update(const WebWrapperView& view) const;

    [[nodiscard]] void* nativeWidget() const override;

    const std::shared_ptr<WebWrapperViewCoordinator> coordinator;
};

}  // namespace kestrova
