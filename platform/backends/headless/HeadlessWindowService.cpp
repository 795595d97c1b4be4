#include "platform/backends/headless/HeadlessWindowService.hpp"

#include <algorithm>

namespace headless {

class HeadlessWindow final : public appkit::Window {
public:
    HeadlessWindow(HeadlessWindowService& service, std::string title, bool canBecomeKey,
                   std::shared_ptr<appkit::WindowController> controller)
        : service_(service), title_(std::move(title)), canBecomeKey_(canBecomeKey), controller_(std::move(controller)) {}

    [[nodiscard]] std::string title() const override { return title_; }
    void close() override { service_.closed(*this); }
    [[nodiscard]] bool canBecomeKey() const override { return canBecomeKey_; }
    void makeKeyAndOrderFront() override {
        // A desktop brings an iconified window back before it takes the focus.
        miniaturized_ = false;
        service_.madeKey(*this);
    }

    [[nodiscard]] bool isMiniaturized() const override { return miniaturized_; }
    void deminiaturize() override {
        if (miniaturized_) {
            miniaturized_ = false;
            service_.record("window deminiaturized: " + title_);
        }
    }
    void miniaturize() { miniaturized_ = true; }

    [[nodiscard]] appkit::WindowController* windowController() const override { return controller_.get(); }
    void addTabbedWindow(std::shared_ptr<appkit::Window> window, appkit::WindowOrderingMode ordered) override {
        service_.record("window tab added: " + window->title() +
                        (ordered == appkit::WindowOrderingMode::above ? " above " : " below ") + title_);
    }

private:
    HeadlessWindowService& service_;
    std::string title_;
    bool canBecomeKey_;
    std::shared_ptr<appkit::WindowController> controller_;
    bool miniaturized_ = false;
};

std::vector<std::shared_ptr<appkit::Window>> HeadlessWindowService::windows() {
    const std::lock_guard lock(mutex_);
    return windows_;
}

std::shared_ptr<appkit::Window> HeadlessWindowService::keyWindow() {
    const std::lock_guard lock(mutex_);
    return key_.lock();
}

std::shared_ptr<appkit::Window> HeadlessWindowService::open(std::string title, bool canBecomeKey,
                                                            std::shared_ptr<appkit::WindowController> controller) {
    auto window = std::make_shared<HeadlessWindow>(*this, std::move(title), canBecomeKey, std::move(controller));
    const std::lock_guard lock(mutex_);
    windows_.insert(windows_.begin(), window);
    return window;
}

void HeadlessWindowService::miniaturize(const appkit::Window& window) {
    const std::lock_guard lock(mutex_);
    for (const auto& open : windows_) {
        if (open.get() == &window) {
            static_cast<HeadlessWindow&>(*open).miniaturize();
        }
    }
    if (key_.lock().get() == &window) {
        key_.reset();
    }
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
        if (key_.lock().get() == &window) {
            key_.reset();
        }
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
        key_ = *found;
        std::rotate(windows_.begin(), found, found + 1);
    }
    effects_.record("window made key: " + window.title());
}

}  // namespace headless
