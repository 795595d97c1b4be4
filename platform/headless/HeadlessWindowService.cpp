#include "platform/headless/HeadlessWindowService.hpp"

#include <algorithm>

namespace headless {

class HeadlessWindow final : public appkit::Window {
public:
    HeadlessWindow(HeadlessWindowService& service, std::string title, bool canBecomeKey)
        : service_(service), title_(std::move(title)), canBecomeKey_(canBecomeKey) {}

    [[nodiscard]] std::string title() const override { return title_; }
    void close() override { service_.closed(*this); }
    [[nodiscard]] bool canBecomeKey() const override { return canBecomeKey_; }
    void makeKeyAndOrderFront() override { service_.madeKey(*this); }

private:
    HeadlessWindowService& service_;
    std::string title_;
    bool canBecomeKey_;
};

std::vector<std::shared_ptr<appkit::Window>> HeadlessWindowService::windows() {
    const std::lock_guard lock(mutex_);
    return windows_;
}

std::shared_ptr<appkit::Window> HeadlessWindowService::open(std::string title, bool canBecomeKey) {
    auto window = std::make_shared<HeadlessWindow>(*this, std::move(title), canBecomeKey);
    const std::lock_guard lock(mutex_);
    windows_.insert(windows_.begin(), window);
    return window;
}

void HeadlessWindowService::closed(const appkit::Window& window) {
    {
        const std::lock_guard lock(mutex_);
        const auto found = std::find_if(windows_.begin(), windows_.end(),
                                        [&](const auto& open) { return open.get() == &window; });
        // Closing a closed window does nothing, as on a desktop.
        if (found == windows_.end()) {
            return;
        }
        windows_.erase(found);
    }
    effects_.record("window closed: " + window.title());
}

void HeadlessWindowService::madeKey(const appkit::Window& window) {
    {
        const std::lock_guard lock(mutex_);
        const auto found = std::find_if(windows_.begin(), windows_.end(),
                                        [&](const auto& open) { return open.get() == &window; });
        if (found == windows_.end()) {
            return;
        }
        std::rotate(windows_.begin(), found, found + 1);
    }
    effects_.record("window made key: " + window.title());
}

}  // namespace headless
