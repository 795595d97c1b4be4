#pragma once

#include "platform/kits/appkit/StatusBarService.hpp"
#include "platform/kits/appkit/StatusItem.hpp"
#include "platform/backends/headless/HeadlessEffects.hpp"

#include <vector>

namespace headless {

// A tray that is a list: items shown now, in the order they were added. Records "status item
// added", "status item removed" and "status menu popped up: <menu title>".
class HeadlessStatusBarService final : public appkit::StatusBarService {
public:
    explicit HeadlessStatusBarService(HeadlessEffects& effects) : effects_(effects) {}

    [[nodiscard]] double thickness() override { return 22; }
    std::unique_ptr<appkit::StatusItemHost> add(appkit::StatusItem& item) override;

    [[nodiscard]] const std::vector<appkit::StatusItem*>& shownItems() const noexcept { return shown_; }

private:
    friend class HeadlessStatusItemHost;

    HeadlessEffects& effects_;
    std::vector<appkit::StatusItem*> shown_;
};

}  // namespace headless
