#include "platform/backends/headless/HeadlessWindowRealizer.hpp"

#include <optional>

namespace headless {

namespace {

class HeadlessWindow final : public ui::Window {
public:
    HeadlessWindow(const ui::WindowOptions& options, std::function<ui::View()> content)
        : options_(options), host_(std::in_place, std::move(content), hostOptions(options)) {}

    ui::ViewHost& host() override { return *host_; }
    [[nodiscard]] bool isOpen() const override { return host_.has_value(); }
    void close() override { host_.reset(); }

private:
    static ui::ViewHost::Options hostOptions(const ui::WindowOptions& options) {
        ui::ViewHost::Options hosted;
        hosted.size = options.size;
        return hosted;
    }

    ui::WindowOptions options_;
    std::optional<ui::ViewHost> host_;
};

}  // namespace

std::shared_ptr<ui::Window> HeadlessWindowRealizer::open(const ui::WindowOptions& options, std::function<ui::View()> content) {
    auto window = std::make_shared<HeadlessWindow>(options, std::move(content));
    windows_.push_back(window);
    return window;
}

std::vector<std::shared_ptr<ui::Window>> HeadlessWindowRealizer::windows() const {
    std::vector<std::shared_ptr<ui::Window>> open;
    for (const auto& window : windows_) {
        if (auto living = window.lock(); living && living->isOpen()) {
            open.push_back(std::move(living));
        }
    }
    return open;
}

}  // namespace headless
