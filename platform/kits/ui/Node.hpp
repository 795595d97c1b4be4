#pragma once

#include "platform/kits/ui/Alignment.hpp"
#include "platform/kits/ui/Animation.hpp"
#include "platform/kits/ui/Color.hpp"
#include "platform/kits/ui/EnvironmentValues.hpp"
#include "platform/kits/ui/Font.hpp"
#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/ui/NativeView.hpp"
#include "platform/kits/ui/Shape.hpp"
#include "platform/kits/ui/StrokeStyle.hpp"

#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace combine {
class ObservableObject;
}

namespace ui {

class View;
struct GeometryProxy;

// One node of a view tree and what it holds. Layout, drawing and the realizers read nodes; views
// are built with the functions and modifiers of View, Text, Image, Shape and the controls.
namespace node {

struct Empty {};

struct Stack {
    enum class Kind { vertical, horizontal, depth };
    Kind kind;
    Alignment alignment;
    std::optional<double> spacing;  // absent: the default spacing
};

struct Spacer {
    std::optional<double> minLength;
};

struct TextRun {
    std::string text;
    std::optional<Font> font;
    std::optional<Font::Weight> weight;
    std::optional<Color> color;
};

struct Text {
    std::vector<TextRun> runs;
};

struct Image {
    enum class Source { asset, bundleResource, systemSymbol, data };
    Source source;
    std::string name;                                  // asset, resource or symbol name
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;  // data
    bool resizable = false;
};

struct ShapeView {
    Shape shape;
    std::optional<Color> fill;    // neither: filled with the foreground colour
    std::optional<Color> strokeColor;
    StrokeStyle stroke;
};

struct ColorFill {
    Color color;
};

struct GeometryReader {
    std::function<View(const GeometryProxy&)> content;
};

// Built once per layout pass, from the environment the reader is laid out in.
struct EnvironmentReader {
    std::function<View(const EnvironmentValues&)> content;
};

struct Frame {
    // Fixed: width/height. Flexible: the bounds; both kinds never mix in one node.
    bool flexible = false;
    std::optional<double> width, height;
    std::optional<double> minWidth, idealWidth, maxWidth;
    std::optional<double> minHeight, idealHeight, maxHeight;
    Alignment alignment;
};

struct Padding {
    EdgeInsets insets;
};

struct Background {
    Alignment alignment;  // children: content, then the background
};

struct Overlay {
    Alignment alignment;  // children: content, then the overlay
};

struct Offset {
    double x = 0, y = 0;
};

struct Clip {
    std::optional<Shape> shape;  // absent: the frame's rectangle
};

struct ContentShape {
    Shape shape;
};

struct Opacity {
    double value = 1;
};

struct Rotation {
    Angle angle;
};

struct Identity {
    std::string id;
};

struct TransitionMarker {
    Transition transition;
};

struct AnimationMarker {
    std::optional<Animation> animation;  // absent: changes below do not animate
    double value = 0;                    // a change of it animates the views below
};

struct Environment {
    std::function<void(EnvironmentValues&)> apply;
};

struct FixedSize {
    bool horizontal = true, vertical = true;
};

struct AspectRatio {
    enum class ContentMode { fit, fill };
    std::optional<double> ratio;  // absent: the content's own ideal ratio
    ContentMode mode = ContentMode::fit;
};

struct Lifecycle {
    std::function<void()> onAppear;
    std::function<void()> onDisappear;
};

// The views below re-evaluate when the object announces a change.
struct Observe {
    std::shared_ptr<combine::ObservableObject> object;
};

struct TabItem {};  // children: content, then the tab's label

struct Toggle {
    std::string title;
    std::function<bool()> get;
    std::function<void(bool)> set;
};

struct Button {
    std::function<void()> action;  // children: the label
};

struct Link {
    std::string destination;  // children: the label
};

struct TabView {};  // children: TabItem nodes

struct ProgressView {
    double value = 0;
    double total = 1;
};

// A widget the platform shows itself (NativeView).
struct Native {
    std::shared_ptr<NativeView> view;
};

// A value the window offers to the application's commands while it has the focus (FocusedValues).
struct FocusedValue {
    std::string key;
    std::any value;
};

// What a widget host or a window reads and the layout ignores: the navigation title, a widget's
// link, a safe-area rule.
struct Annotation {
    std::string key;
    std::string value;
};

using Payload = std::variant<Empty, Stack, Spacer, Text, Image, ShapeView, ColorFill, GeometryReader, Frame,
                             Padding, Background, Overlay, Offset, Clip, ContentShape, Opacity, Rotation,
                             Identity, TransitionMarker, AnimationMarker, Environment, FixedSize, AspectRatio,
                             Lifecycle, Observe, TabItem, Toggle, Button, Link, TabView, ProgressView, Annotation,
                             Native, FocusedValue, EnvironmentReader>;

}  // namespace node

struct Node {
    node::Payload payload;
    std::vector<View> children;
};

}  // namespace ui
