#include "platform/kits/widgetkit/WidgetRenderer.hpp"

#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Renderer.hpp"

namespace widgetkit {
namespace {

constexpr std::string_view widgetURLKey = "widgetURL";

bool setsWidgetURL(const ui::LaidOutView& view) {
    const auto* annotation = view.as<ui::node::Annotation>();
    return annotation != nullptr && annotation->key == widgetURLKey;
}

}  // namespace

WidgetRenderer::Drawing WidgetRenderer::draw(const ui::View& view, WidgetFamily family, double scale) {
    ui::Renderer::Options options = ui::Renderer::Options::atScale(scale);
    setWidgetFamily(options.environment, family);
    const auto size = nominalSize(family);
    ui::LayoutEngine engine;
    const auto laidOut = engine.layout(view, size, options.environment);
    Drawing drawing{ui::Renderer::render(laidOut, size, options), {}, std::nullopt};
    for (const auto* link : laidOut.all<ui::node::Link>()) {
        drawing.links.push_back(RenderedLink{link->frame, link->as<ui::node::Link>()->destination});
    }
    // A parent comes before what it holds, so the first one found is the outermost: a view that
    // sets the widget's URL around content that sets its own decides for the whole widget.
    const auto urls = laidOut.all(setsWidgetURL);
    if (!urls.empty()) {
        drawing.widgetURL = urls.front()->as<ui::node::Annotation>()->value;
    }
    return drawing;
}

RenderedEntry WidgetRenderer::render(const DatedView& entry, WidgetFamily family, double scale) {
    auto drawing = draw(entry.view, family, scale);
    return RenderedEntry{entry.date,         drawing.bitmap.pngData(), nominalSize(family), scale,
                         std::move(drawing.links), std::move(drawing.widgetURL)};
}

}  // namespace widgetkit
