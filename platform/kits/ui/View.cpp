#include "platform/kits/ui/View.hpp"

#include "platform/kits/ui/NativeView.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Shape.hpp"
#include "platform/kits/ui/Stacks.hpp"

#include <utility>

namespace ui {

namespace {

View wrap(node::Payload payload, std::vector<View> children) {
    return View(std::make_shared<const Node>(Node{std::move(payload), std::move(children)}));
}

}  // namespace

View::View() : node_(std::make_shared<const Node>(Node{node::Empty{}, {}})) {}

bool View::isEmpty() const noexcept { return std::holds_alternative<node::Empty>(node_->payload); }

View View::frame(std::optional<double> width, std::optional<double> height, Alignment alignment) const {
    node::Frame frame;
    frame.width = width;
    frame.height = height;
    frame.alignment = alignment;
    return wrap(frame, {*this});
}

View View::frame(const FlexibleFrame& bounds) const {
    node::Frame frame;
    frame.flexible = true;
    frame.minWidth = bounds.minWidth;
    frame.idealWidth = bounds.idealWidth;
    frame.maxWidth = bounds.maxWidth;
    frame.minHeight = bounds.minHeight;
    frame.idealHeight = bounds.idealHeight;
    frame.maxHeight = bounds.maxHeight;
    frame.alignment = bounds.alignment;
    return wrap(frame, {*this});
}

View View::padding(EdgeSet edges) const { return padding(edges, defaultPadding); }

View View::padding(EdgeSet edges, double length) const {
    EdgeInsets insets;
    insets.top = edges.contains(Edge::top) ? length : 0;
    insets.leading = edges.contains(Edge::leading) ? length : 0;
    insets.bottom = edges.contains(Edge::bottom) ? length : 0;
    insets.trailing = edges.contains(Edge::trailing) ? length : 0;
    return padding(insets);
}

View View::padding(EdgeInsets insets) const { return wrap(node::Padding{insets}, {*this}); }

View View::fixedSize(bool horizontal, bool vertical) const {
    return wrap(node::FixedSize{horizontal, vertical}, {*this});
}

View View::aspectRatio(std::optional<double> ratio, bool fill) const {
    return wrap(node::AspectRatio{ratio, fill ? node::AspectRatio::ContentMode::fill : node::AspectRatio::ContentMode::fit},
                {*this});
}

View View::offset(double x, double y) const { return wrap(node::Offset{x, y}, {*this}); }

View View::background(View background, Alignment alignment) const {
    return wrap(node::Background{alignment}, {*this, std::move(background)});
}

View View::overlay(View overlay, Alignment alignment) const {
    return wrap(node::Overlay{alignment}, {*this, std::move(overlay)});
}

View View::opacity(double value) const { return wrap(node::Opacity{value}, {*this}); }

View View::rotationEffect(Angle angle) const { return wrap(node::Rotation{angle}, {*this}); }

View View::clipped() const { return wrap(node::Clip{}, {*this}); }

View View::clipShape(const Shape& shape) const { return wrap(node::Clip{shape}, {*this}); }

View View::contentShape(const Shape& shape) const { return wrap(node::ContentShape{shape}, {*this}); }

View View::id(std::string identity) const { return wrap(node::Identity{std::move(identity)}, {*this}); }

View View::transition(Transition transition) const {
    return wrap(node::TransitionMarker{std::move(transition)}, {*this});
}

View View::animation(std::optional<Animation> animation, double value) const {
    return wrap(node::AnimationMarker{animation, value}, {*this});
}

View View::environment(std::function<void(EnvironmentValues&)> apply) const {
    return wrap(node::Environment{std::move(apply)}, {*this});
}

View View::environment(const std::string& key, std::any value) const {
    return environment([key, value = std::move(value)](EnvironmentValues& values) { values.extra[key] = value; });
}

View View::font(Font font) const {
    return environment([font](EnvironmentValues& values) { values.font = font; });
}

View View::foregroundColor(Color color) const {
    return environment([color = std::move(color)](EnvironmentValues& values) { values.foregroundColor = color; });
}

View View::lineLimit(std::optional<int> lines) const {
    return environment([lines](EnvironmentValues& values) { values.lineLimit = lines; });
}

View View::multilineTextAlignment(TextAlignment alignment) const {
    return environment([alignment](EnvironmentValues& values) { values.multilineTextAlignment = alignment; });
}

View View::colorScheme(ColorScheme scheme) const {
    return environment([scheme](EnvironmentValues& values) { values.colorScheme = scheme; });
}

View View::tint(std::optional<Color> color) const {
    return environment([color = std::move(color)](EnvironmentValues& values) { values.tint = color; });
}

View View::privacySensitive(bool sensitive) const {
    return sensitive ? annotation("privacySensitive") : *this;
}

View View::widgetAccentable(bool accentable) const {
    return accentable ? annotation("widgetAccentable") : *this;
}

View View::preferredColorScheme(std::optional<ColorScheme> scheme) const {
    if (!scheme) {
        return *this;
    }
    return annotation("preferredColorScheme", *scheme == ColorScheme::dark ? "dark" : "light");
}

View View::widgetURL(std::optional<std::string> url) const {
    return url ? annotation("widgetURL", std::move(*url)) : *this;
}

View View::disabled(bool disabled) const {
    // Disabling is inherited: an enabled view inside a disabled one stays disabled.
    return environment([disabled](EnvironmentValues& values) { values.isEnabled = values.isEnabled && !disabled; });
}

View View::onAppear(std::function<void()> action) const {
    return wrap(node::Lifecycle{std::move(action), {}}, {*this});
}

View View::onDisappear(std::function<void()> action) const {
    return wrap(node::Lifecycle{{}, std::move(action)}, {*this});
}

View View::observing(std::shared_ptr<combine::ObservableObject> object) const {
    return wrap(node::Observe{std::move(object)}, {*this});
}

View View::observing(combine::ObservableObject& object) const {
    // Not owned: an empty owner with the object's address.
    return observing(std::shared_ptr<combine::ObservableObject>(std::shared_ptr<void>(), &object));
}

View View::focusedSceneValue(std::string key, std::any value) const {
    return wrap(node::FocusedValue{std::move(key), std::move(value)}, {*this});
}

View View::tabItem(View label) const { return wrap(node::TabItem{}, {*this, std::move(label)}); }

View View::annotation(std::string key, std::string value) const {
    return wrap(node::Annotation{std::move(key), std::move(value)}, {*this});
}

View VStack(std::vector<View> children, HorizontalAlignment alignment, std::optional<double> spacing) {
    return wrap(node::Stack{node::Stack::Kind::vertical, Alignment{alignment, VerticalAlignment::center}, spacing},
                std::move(children));
}

View HStack(std::vector<View> children, VerticalAlignment alignment, std::optional<double> spacing) {
    return wrap(node::Stack{node::Stack::Kind::horizontal, Alignment{HorizontalAlignment::center, alignment}, spacing},
                std::move(children));
}

View ZStack(std::vector<View> children, Alignment alignment) {
    return wrap(node::Stack{node::Stack::Kind::depth, alignment, std::nullopt}, std::move(children));
}

View Spacer(std::optional<double> minLength) { return wrap(node::Spacer{minLength}, {}); }

View EmptyView() { return View(); }

View ColorView(Color color) { return wrap(node::ColorFill{std::move(color)}, {}); }

View NativeView::view(std::shared_ptr<NativeView> native) { return wrap(node::Native{std::move(native)}, {}); }

View GeometryReader(std::function<View(const GeometryProxy&)> content) {
    return wrap(node::GeometryReader{std::move(content)}, {});
}

View EnvironmentReader(std::function<View(const EnvironmentValues&)> content) {
    return wrap(node::EnvironmentReader{std::move(content)}, {});
}

}  // namespace ui
