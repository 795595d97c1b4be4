#pragma once

#include "platform/kits/ui/EnvironmentValues.hpp"
#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/ui/Node.hpp"

#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace ui {

// A view tree after layout: every node with its frame in the coordinates of the root (points, y
// down), the environment it draws in, and an identity that stays the same while the view does
// (its path in the tree, kinds and explicit ids included). What an animation moves is copied out
// of the node so that an animator can change it between frames.
struct LaidOutView {
    std::shared_ptr<const Node> node;
    Rect frame;
    std::shared_ptr<const EnvironmentValues> environment;
    std::string identity;
    std::vector<LaidOutView> children;

    double opacity = 1;    // of an Opacity node
    double trimFrom = 0;   // of a shape
    double trimTo = 1;
    std::size_t selection = 0;  // of a TabView: the tab that shows

    template <typename Payload>
    [[nodiscard]] const Payload* as() const noexcept {
        return std::get_if<Payload>(&node->payload);
    }

    // This view and those below it, in drawing order (back to front), that match.
    [[nodiscard]] std::vector<const LaidOutView*> all(const std::function<bool(const LaidOutView&)>& match) const;
    template <typename Payload>
    [[nodiscard]] std::vector<const LaidOutView*> all() const {
        return all([](const LaidOutView& view) { return view.as<Payload>() != nullptr; });
    }
    template <typename Payload>
    [[nodiscard]] const LaidOutView* first() const {
        auto found = all<Payload>();
        return found.empty() ? nullptr : found.front();
    }
    // The whole text of a Text node, runs joined; empty for other nodes.
    [[nodiscard]] std::string text() const;
};

}  // namespace ui
