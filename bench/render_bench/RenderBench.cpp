// The tray icon is drawn again on every change of the application's state, and a widget is drawn
// for every timeline entry: a frame must cost well under a millisecond. Measures whole frames
// (evaluate, lay out, paint) and the layout pass alone.
#include "kestrova/views/CircularProgressView.hpp"
#include "pellicor/DailyWidgetView.hpp"
#include "pellicor/JournalDays.hpp"
#include "pellicor/JournalWidgetView.hpp"
#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Renderer.hpp"
#include "platform/kits/ui/Shape.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/TextView.hpp"
#include "platform/kits/widgetkit/WidgetFamily.hpp"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// The tray's tree: the ring padded by 3 points in a square the size of the bar.
ui::View trayRing(double size) {
    return ui::View(kestrova::CircularProgressView{1.0 / 3.0, 4, ui::Color("Daily")}).padding(3).frame(size, size);
}

// A journal row: a streak circle with its number, an emoji and a title.
ui::View row(const std::string& emoji, const std::string& title, int streak) {
    const ui::View circle =
        ui::ZStack({ui::Text::verbatim(std::to_string(streak)).font(ui::Font::system(10)).foregroundColor(ui::Color("Daily")).view(),
                    ui::Circle().stroke(ui::Color("Daily"), 2)})
            .frame(24, 24);
    return ui::HStack({circle,
                       ui::Text::verbatim(emoji).font(ui::Font::system(14)).view().fixedSize().frame(14, 14).padding(ui::EdgeSet(ui::Edge::leading), 2),
                       ui::Text::verbatim(title).font(ui::Font::system(14)).fontWeight(ui::Font::Weight::medium).view().lineLimit(1)});
}

// What a medium widget shows: four rows, a spacer and the day's ring, on black.
ui::View widget() {
    const ui::View ring = ui::GeometryReader([](const ui::GeometryProxy& proxy) {
                              const double side = std::min(proxy.size.width, proxy.size.height);
                              const ui::StrokeStyle style{side * 0.1, ui::LineCap::round, ui::LineJoin::round, 10, {}, 0};
                              return ui::ZStack({ui::Circle().stroke(ui::Color("Daily"), style).opacity(0.2),
                                                 ui::Circle().trim(0, 0.5).stroke(ui::Color("Daily"), style).rotationEffect(ui::Angle::degrees(-90)),
                                                 ui::Text(ui::LocalizedStringKey("%lld", {std::int64_t{6}})).font(ui::Font::title()).fontWeight(ui::Font::Weight::medium)});
                          }).frame(80, 80);
    return ui::GeometryReader([ring](const ui::GeometryProxy& proxy) {
               return ui::HStack({ui::VStack({row("\U0001F4D3", "Morning pages", 12), row("\U0001F3C3", "Running log", 3),
                                              row("\U0001F331", "Garden", 0), row("\U0001F4DA", "Reading notes", 41)},
                                             ui::HorizontalAlignment::leading)
                                      .padding(),
                                  ui::Spacer(), ring.padding(ui::EdgeSet(ui::Edge::trailing)).padding(ui::EdgeSet(ui::Edge::trailing))})
                   .frame(proxy.size.width, proxy.size.height);
           })
        .frame(ui::View::FlexibleFrame{std::nullopt, std::nullopt, ui::infinity, std::nullopt, std::nullopt, ui::infinity, ui::Alignment::center()})
        .background(ui::ColorView(ui::Color::black()))
        .colorScheme(ui::ColorScheme::dark);
}

void trayRingFrame(benchmark::State& state) {
    const double scale = static_cast<double>(state.range(0));
    const auto options = ui::Renderer::Options::atScale(scale);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ui::Renderer::render(trayRing(22), {22, 22}, options));
    }
}
BENCHMARK(trayRingFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void widgetFrame(benchmark::State& state) {
    const double scale = static_cast<double>(state.range(0));
    const auto options = ui::Renderer::Options::atScale(scale);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ui::Renderer::render(widget(), {338, 158}, options));
    }
}
BENCHMARK(widgetFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void trayRingLayout(benchmark::State& state) {
    for (auto _ : state) {
        ui::LayoutEngine engine;
        benchmark::DoNotOptimize(engine.layout(trayRing(22), {22, 22}));
    }
}
BENCHMARK(trayRingLayout)->Unit(benchmark::kMicrosecond);

void widgetLayout(benchmark::State& state) {
    for (auto _ : state) {
        ui::LayoutEngine engine;
        benchmark::DoNotOptimize(engine.layout(widget(), {338, 158}));
    }
}
BENCHMARK(widgetLayout)->Unit(benchmark::kMicrosecond);

// Painting alone, of a tree laid out once, as a window does on every animation frame.
void widgetPaint(benchmark::State& state) {
    ui::LayoutEngine engine;
    const auto tree = engine.layout(widget(), {338, 158});
    ui::Bitmap bitmap(338, 158);
    for (auto _ : state) {
        ui::Renderer::paint(tree, bitmap, ui::Renderer::Options{});
        benchmark::DoNotOptimize(bitmap.data());
    }
}
BENCHMARK(widgetPaint)->Unit(benchmark::kMicrosecond);

// The widget extension's own views as the widget host draws them: the Today widget at its largest,
// with nine rows, and the Journal widget; both laid out and painted at scale 2.
ui::Renderer::Options widgetOptions(widgetkit::WidgetFamily family) {
    auto options = ui::Renderer::Options::atScale(2);
    widgetkit::setWidgetFamily(options.environment, family);
    return options;
}

void todayLargeFrame(benchmark::State& state) {
    const pellicor::DailyWidgetView view{pellicor::sampleJournals(), 3, 1.0F / 3};
    const auto options = widgetOptions(widgetkit::WidgetFamily::systemLarge);
    const auto size = widgetkit::nominalSize(widgetkit::WidgetFamily::systemLarge);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ui::Renderer::render(view, size, options));
    }
}
BENCHMARK(todayLargeFrame)->Unit(benchmark::kMicrosecond);

void journalWidgetFrame(benchmark::State& state) {
    const pellicor::JournalWidgetView view{{{}, pellicor::sampleJournals().front()}};
    const auto options = widgetOptions(widgetkit::WidgetFamily::systemSmall);
    const auto size = widgetkit::nominalSize(widgetkit::WidgetFamily::systemSmall);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ui::Renderer::render(view, size, options));
    }
}
BENCHMARK(journalWidgetFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (const char* directory = std::getenv("KESTROVA_PICTURES_DIR")) {
        // The frames the benchmark draws, to look at.
        ui::Renderer::render(widget(), {338, 158}, ui::Renderer::Options::atScale(2)).writePNG(std::string(directory) + "/widget.png");
        ui::Renderer::render(trayRing(22), {22, 22}, ui::Renderer::Options::atScale(2)).writePNG(std::string(directory) + "/tray.png");
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
