#pragma once

#include "platform/kits/appkit/WindowController.hpp"
#include "platform/kits/appkit/WindowService.hpp"
#include "platform/backends/headless/HeadlessEffects.hpp"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace headless {

// Windows that exist only as entries of a list: a test opens them, the code under test closes them,
// and each close is recorded as "window closed: <title>", each bringing to the front as
// "window made key: <title>", each restoring as "window deminiaturized: <title>" and each new tab as
// "window tab added: <tab> above <window>" (or "below"). The key window is the one last made key,
// until it closes or is miniaturized.
class HeadlessWindowService final : public appkit::WindowService {
public:
    explicit HeadlessWindowService(HeadlessEffects& effects) : effects_(effects) {}

    std::vector<std::shared_ptr<appkit::Window>> windows() override;
    std::shared_ptr<appkit::Window> keyWindow() override;

    // Puts a window in front of the others; the controller, when given, is the window's own.
    std::shared_ptr<appkit::Window> open(std::string title, bool canBecomeKey = true,
                                         std::shared_ptr<appkit::WindowController> controller = nullptr);
    // Iconifies the window, as the user would.
    void miniaturize(const appkit::Window& window);

private:
    friend class HeadlessWindow;
    void closed(const appkit::Window& window);
    void madeKey(const appkit::Window& window);
    void record(std::string line) { effects_.record(std::move(line)); }

    HeadlessEffects& effects_;
    std::mutex mutex_;
    std::vector<std::shared_ptr<appkit::Window>> windows_;
    std::weak_ptr<appkit::Window> key_;
};

}  // namespace headless
