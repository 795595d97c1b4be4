#pragma once

#include "platform/kits/scenes/WindowRealizer.hpp"

#include <memory>
#include <vector>

namespace headless {

// Windows nobody sees: each keeps its view host, so tests read the laid-out tree, click its
// controls through the host and render it to a bitmap.
class HeadlessWindowRealizer final : public ui::WindowRealizer {
public:
    [[nodiscard]] std::shared_ptr<ui::Window> open(const ui::WindowOptions& options, std::function<ui::View()> content) override;

    // The windows opened and not closed, oldest first.
    [[nodiscard]] std::vector<std::shared_ptr<ui::Window>> windows() const;

private:
    std::vector<std::weak_ptr<ui::Window>> windows_;
};

}  // namespace headless
