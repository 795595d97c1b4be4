#pragma once

#include "platform/appkit/WindowService.hpp"
#include "platform/headless/HeadlessEffects.hpp"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace headless {

// Windows that exist only as entries of a list: a test opens them, the code under test closes them,
// and each close is recorded as "window closed: <title>", each bringing to the front as
// "window made key: <title>".
class HeadlessWindowService final : public appkit::WindowService {
public:
    explicit HeadlessWindowService(HeadlessEffects& effects) : effects_(effects) {}

    std::vector<std::shared_ptr<appkit::Window>> windows() override;

    // Puts a window in front of the others.
    std::shared_ptr<appkit::Window> open(std::string title, bool canBecomeKey = true);

private:
    friend class HeadlessWindow;
    void closed(const appkit::Window& window);
    void madeKey(const appkit::Window& window);

    HeadlessEffects& effects_;
    std::mutex mutex_;
    std::vector<std::shared_ptr<appkit::Window>> windows_;
};

}  // namespace headless
