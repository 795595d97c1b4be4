#pragma once

#include "platform/kits/ui/Alignment.hpp"
#include "platform/kits/ui/Animation.hpp"
#include "platform/kits/ui/Color.hpp"
#include "platform/kits/ui/EnvironmentValues.hpp"
#include "platform/kits/ui/Font.hpp"
#include "platform/kits/ui/Geometry.hpp"

#include <any>
#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace combine {
class ObservableObject;
}

namespace ui {

struct Node;
class Shape;

// A declarative view: an immutable tree that says what to show, not how. Modifiers return a new view
// that wraps this one, so they read in the order they apply, from the inside out. A value type with
// a `View body() const` is a view too: it turns into its body.
class View {
public:
    // The empty view: takes no space, draws nothing.
    View();
    explicit View(std::shared_ptr<const Node> node) noexcept : node_(std::move(node)) {}
    template <typename Composite>
        requires requires(const Composite& composite) {
            { composite.body() } -> std::convertible_to<View>;
        }
    View(const Composite& composite) : View(static_cast<View>(composite.body())) {}  // NOLINT: as a view

    [[nodiscard]] const Node& node() const noexcept { return *node_; }
    [[nodiscard]] const std::shared_ptr<const Node>& shared() const noexcept { return node_; }
    [[nodiscard]] bool isEmpty() const noexcept;

    // Layout.
    [[nodiscard]] View frame(std::optional<double> width, std::optional<double> height,
                             Alignment alignment = Alignment::center()) const;
    struct FlexibleFrame {
        std::optional<double> minWidth, idealWidth, maxWidth;
        std::optional<double> minHeight, idealHeight, maxHeight;
        Alignment alignment;
    };
    [[nodiscard]] View frame(const FlexibleFrame& bounds) const;
    // The platform's default amount on the given edges.
    [[nodiscard]] View padding(EdgeSet edges = EdgeSet::all()) const;
    [[nodiscard]] View padding(EdgeSet edges, double length) const;
    [[nodiscard]] View padding(double length) const { return padding(EdgeSet::all(), length); }
    [[nodiscard]] View padding(EdgeInsets insets) const;
    [[nodiscard]] View fixedSize(bool horizontal = true, bool vertical = true) const;
    [[nodiscard]] View aspectRatio(std::optional<double> ratio, bool fill) const;
    [[nodiscard]] View scaledToFit() const { return aspectRatio(std::nullopt, false); }
    [[nodiscard]] View scaledToFill() const { return aspectRatio(std::nullopt, true); }
    [[nodiscard]] View offset(double x, double y) const;

    // Layers.
    [[nodiscard]] View background(View background, Alignment alignment = Alignment::center()) const;
    [[nodiscard]] View overlay(View overlay, Alignment alignment = Alignment::center()) const;

    // Drawing.
    [[nodiscard]] View opacity(double value) const;
    [[nodiscard]] View rotationEffect(Angle angle) const;
    [[nodiscard]] View clipped() const;
    [[nodiscard]] View clipShape(const Shape& shape) const;
    [[nodiscard]] View contentShape(const Shape& shape) const;

    // Identity, transitions and animation.
    [[nodiscard]] View id(std::string identity) const;
    [[nodiscard]] View transition(Transition transition) const;
    // Changes below animate when `value` differs from the last rendering; no animation: none do.
    [[nodiscard]] View animation(std::optional<Animation> animation, double value) const;

    // Environment.
    [[nodiscard]] View environment(std::function<void(EnvironmentValues&)> apply) const;
    [[nodiscard]] View environment(const std::string& key, std::any value) const;
    [[nodiscard]] View font(Font font) const;
    [[nodiscard]] View foregroundColor(Color color) const;
    [[nodiscard]] View lineLimit(std::optional<int> lines) const;
    [[nodiscard]] View multilineTextAlignment(TextAlignment alignment) const;
    [[nodiscard]] View colorScheme(ColorScheme scheme) const;
    [[nodiscard]] View disabled(bool disabled) const;
    // The colour of the controls below (a progress view's bar); none: the foreground colour.
    [[nodiscard]] View tint(std::optional<Color> color) const;

    // Marks for a host, kept as annotations: a bitmap has nothing to do with them. Privacy-sensitive
    // content a host may redact; accentable content a tinted widget draws in its accent; the
    // colour scheme the view prefers for its window; and what a click on a widget outside its
    // links opens.
    [[nodiscard]] View privacySensitive(bool sensitive = true) const;
    [[nodiscard]] View widgetAccentable(bool accentable = true) const;
    [[nodiscard]] View preferredColorScheme(std::optional<ColorScheme> scheme) const;
    [[nodiscard]] View widgetURL(std::optional<std::string> url) const;

    // Life on screen: the actions run on the main thread when the view's identity comes on screen
    // and when it leaves.
    [[nodiscard]] View onAppear(std::function<void()> action) const;
    [[nodiscard]] View onDisappear(std::function<void()> action) const;
    // The views below re-evaluate when the object announces a change.
    [[nodiscard]] View observing(std::shared_ptr<combine::ObservableObject> object) const;
    // The same for an object that outlives every view of it, such as a process-wide one.
    [[nodiscard]] View observing(combine::ObservableObject& object) const;

    // Offered to the application's commands while the window that shows this view has the focus
    // (ViewHost::focusedValues, FocusedValues).
    [[nodiscard]] View focusedSceneValue(std::string key, std::any value) const;

    // A tab of a TabView, with its label.
    [[nodiscard]] View tabItem(View label) const;
    // Read by a window or a widget host, ignored by the layout.
    [[nodiscard]] View annotation(std::string key, std::string value = {}) const;
    [[nodiscard]] View ignoresSafeArea() const { return annotation("ignoresSafeArea"); }

    // A modifier value with `View body(View content) const`.
    template <typename Modifier>
    [[nodiscard]] View modifier(const Modifier& modifier) const {
        return modifier.body(*this);
    }

private:
    std::shared_ptr<const Node> node_;
};

}  // namespace ui
