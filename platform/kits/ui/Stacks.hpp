#pragma once

#include "platform/kits/ui/Alignment.hpp"
#include "platform/kits/ui/EnvironmentValues.hpp"
#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/ui/View.hpp"

#include <functional>
#include <optional>
#include <vector>

namespace ui {

// The space between two children of a stack when none is given, and the default padding.
inline constexpr double defaultSpacing = 8;
inline constexpr double defaultPadding = 16;

// Children one under the other, the first on top.
View VStack(std::vector<View> children, HorizontalAlignment alignment = HorizontalAlignment::center,
            std::optional<double> spacing = std::nullopt);
// Children side by side, the first at the leading edge.
View HStack(std::vector<View> children, VerticalAlignment alignment = VerticalAlignment::center,
            std::optional<double> spacing = std::nullopt);
// Children on top of one another, the first at the back.
View ZStack(std::vector<View> children, Alignment alignment = Alignment::center());
// Flexible space along the stack that holds it.
View Spacer(std::optional<double> minLength = std::nullopt);
View EmptyView();
// Fills `color` into whatever space it is offered.
View ColorView(Color color);

// What a geometry reader knows of the space it was given.
struct GeometryProxy {
    Size size;
};

// Takes all the space offered and builds its content for that size; the content sits at the
// top-leading corner.
View GeometryReader(std::function<View(const GeometryProxy&)> content);

// Builds its content from the environment it is laid out in, such as a widget's family.
View EnvironmentReader(std::function<View(const EnvironmentValues&)> content);

// Builds one view per element.
template <typename Range, typename Make>
std::vector<View> ForEach(const Range& range, Make make) {
    std::vector<View> views;
    for (const auto& element : range) {
        views.push_back(make(element));
    }
    return views;
}

}  // namespace ui
