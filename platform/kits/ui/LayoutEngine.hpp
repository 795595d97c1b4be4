#pragma once

#include "platform/kits/ui/ControlMetrics.hpp"
#include "platform/kits/ui/EnvironmentValues.hpp"
#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/ui/LaidOutView.hpp"
#include "platform/kits/ui/View.hpp"

#include <functional>
#include <memory>
#include <string>

namespace ui {

// Lays a view tree out in a space: a parent proposes a size to each child, the child chooses its own
// size, and the parent places it. One engine serves one pass at a time; it keeps what it measured
// during a pass and forgets it after.
class LayoutEngine {
public:
    struct Options {
        const ControlMetrics* metrics = &ControlMetrics::standard();
        // Which tab of the tab view with this identity shows; the first when not set.
        std::function<std::size_t(const std::string& identity)> selectedTab;
    };

    LayoutEngine();
    explicit LayoutEngine(Options options);
    ~LayoutEngine();
    LayoutEngine(const LayoutEngine&) = delete;
    LayoutEngine& operator=(const LayoutEngine&) = delete;

    // Proposes `space` to the root and centres it in the space.
    [[nodiscard]] LaidOutView layout(const View& root, Size space, const EnvironmentValues& environment = {});

    // The size the root chooses for a proposal, without placing anything.
    [[nodiscard]] Size sizeThatFits(const View& root, ProposedSize proposal, const EnvironmentValues& environment = {});

private:
    struct Pass;
    Options options_;
};

}  // namespace ui
