#include "platform/kits/ui/Controls.hpp"

#include "platform/kits/ui/Image.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Stacks.hpp"

namespace ui {

namespace {

View make(node::Payload payload, std::vector<View> children = {}) {
    return View(std::make_shared<const Node>(Node{std::move(payload), std::move(children)}));
}

}  // namespace

View Toggle(const LocalizedStringKey& title, Binding<bool> isOn) {
    return make(node::Toggle{title.resolved(), [isOn] { return isOn.get(); }, [isOn](bool value) { isOn.set(value); }});
}

View Button(const LocalizedStringKey& title, std::function<void()> action) {
    return Button(Text(title).view(), std::move(action));
}

View Button(View label, std::function<void()> action) {
    return make(node::Button{std::move(action)}, {std::move(label)});
}

View Link(std::string destination, View label) {
    return make(node::Link{std::move(destination)}, {std::move(label)});
}

View Label(const LocalizedStringKey& title, const std::string& systemImage) {
    return HStack({Image::systemName(systemImage).view(), Text(title).view()}, VerticalAlignment::center, 4);
}

View TabView(std::vector<View> tabs) { return make(node::TabView{}, std::move(tabs)); }

View ProgressView(double value, double total) { return make(node::ProgressView{value, total}); }

}  // namespace ui
