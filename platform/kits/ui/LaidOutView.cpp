#include "platform/kits/ui/LaidOutView.hpp"

namespace ui {

namespace {

void collect(const LaidOutView& view, const std::function<bool(const LaidOutView&)>& match,
             std::vector<const LaidOutView*>& found) {
    if (match(view)) {
        found.push_back(&view);
    }
    for (const LaidOutView& child : view.children) {
        collect(child, match, found);
    }
}

}  // namespace

std::vector<const LaidOutView*> LaidOutView::all(const std::function<bool(const LaidOutView&)>& match) const {
    std::vector<const LaidOutView*> found;
    collect(*this, match, found);
    return found;
}

std::string LaidOutView::text() const {
    std::string whole;
    if (const auto* payload = as<node::Text>()) {
        for (const auto& run : payload->runs) {
            whole += run.text;
        }
    }
    return whole;
}

}  // namespace ui
