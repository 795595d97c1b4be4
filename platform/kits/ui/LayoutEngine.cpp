#include "platform/kits/ui/LayoutEngine.hpp"

#include "platform/kits/ui/Node.hpp"
#include "platform/kits/ui/Stacks.hpp"
#include "platform/kits/ui/internal/ImageStore.hpp"
#include "platform/kits/ui/internal/TextShaper.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace ui {

namespace {

struct Key {
    const Node* node;
    double width;   // -1: absent
    double height;  // -1: absent
    int axis;       // -1: not in a stack
    friend bool operator==(const Key&, const Key&) = default;
};

struct KeyHash {
    static std::uint64_t mix(std::uint64_t value) noexcept {
        value ^= value >> 33;
        value *= 0xff51afd7ed558ccdULL;
        value ^= value >> 33;
        value *= 0xc4ceb9fe1a85ec53ULL;
        return value ^ (value >> 33);
    }
    std::size_t operator()(const Key& key) const noexcept {
        std::uint64_t hash = mix(reinterpret_cast<std::uintptr_t>(key.node));
        hash = mix(hash ^ std::bit_cast<std::uint64_t>(key.width));
        hash = mix(hash ^ std::bit_cast<std::uint64_t>(key.height) ^ static_cast<std::uint64_t>(key.axis + 1));
        return static_cast<std::size_t>(hash);
    }
};

double along(Size size, Axis axis) { return axis == Axis::horizontal ? size.width : size.height; }
double across(Size size, Axis axis) { return axis == Axis::horizontal ? size.height : size.width; }
std::optional<double> along(ProposedSize size, Axis axis) { return axis == Axis::horizontal ? size.width : size.height; }
std::optional<double> across(ProposedSize size, Axis axis) { return axis == Axis::horizontal ? size.height : size.width; }
ProposedSize proposal(Axis axis, std::optional<double> main, std::optional<double> cross) {
    return axis == Axis::horizontal ? ProposedSize{main, cross} : ProposedSize{cross, main};
}

double alignedOffset(HorizontalAlignment alignment, double space, double size) {
    switch (alignment) {
    case HorizontalAlignment::leading: return 0;
    case HorizontalAlignment::center: return (space - size) / 2;
    case HorizontalAlignment::trailing: return space - size;
    }
    return 0;
}

double alignedOffset(VerticalAlignment alignment, double space, double size) {
    switch (alignment) {
    case VerticalAlignment::top: return 0;
    case VerticalAlignment::center: return (space - size) / 2;
    case VerticalAlignment::bottom: return space - size;
    }
    return 0;
}

Point aligned(Alignment alignment, const Rect& space, Size size) {
    return {space.minX() + alignedOffset(alignment.horizontal, space.width(), size.width),
            space.minY() + alignedOffset(alignment.vertical, space.height(), size.height)};
}

std::optional<double> shrink(std::optional<double> value, double by) {
    if (!value) {
        return value;
    }
    return std::max(0.0, *value - by);
}

double clampBetween(double value, std::optional<double> lower, std::optional<double> upper) {
    if (upper) {
        value = std::min(value, *upper);
    }
    if (lower) {
        value = std::max(value, *lower);
    }
    return value;
}

node::Text titleText(const std::string& title) { return node::Text{{node::TextRun{title, {}, {}, {}}}}; }

}  // namespace

struct LayoutEngine::Pass {
    const Options& options;
    std::unordered_map<Key, Size, KeyHash> measured;
    // What each environment reader built in this pass: measured and placed as the same tree.
    std::unordered_map<const Node*, View> built;

    const View& readerContent(const View& reader, const node::EnvironmentReader& payload,
                              const EnvironmentValues& environment) {
        auto found = built.find(&reader.node());
        if (found == built.end()) {
            found = built.emplace(&reader.node(), payload.content(environment)).first;
        }
        return found->second;
    }

    struct StackEntry {
        const View* child;
        ProposedSize proposal;
        Size size;
    };

    Size measure(const View& view, ProposedSize p, const EnvironmentValues& environment, std::optional<Axis> axis) {
        const Key key{&view.node(), p.width.value_or(-1), p.height.value_or(-1), axis ? static_cast<int>(*axis) : -1};
        if (const auto found = measured.find(key); found != measured.end()) {
            return found->second;
        }
        const Size size = compute(view, p, environment, axis);
        measured.emplace(key, size);
        return size;
    }

    std::vector<StackEntry> stack(const Node& stackNode, const node::Stack& payload, ProposedSize p,
                                  const EnvironmentValues& environment) {
        const Axis axis = payload.kind == node::Stack::Kind::horizontal ? Axis::horizontal : Axis::vertical;
        std::vector<StackEntry> entries;
        for (const View& child : stackNode.children) {
            if (!child.isEmpty()) {
                entries.push_back({&child, {}, {}});
            }
        }
        if (entries.empty()) {
            return entries;
        }
        const double spacing = payload.spacing.value_or(defaultSpacing) * static_cast<double>(entries.size() - 1);
        const auto cross = across(p, axis);
        const auto main = along(p, axis);
        if (!main) {
            for (auto& entry : entries) {
                entry.proposal = proposal(axis, std::nullopt, cross);
                entry.size = measure(*entry.child, entry.proposal, environment, axis);
            }
            return entries;
        }
        // The least flexible children choose first; each gets an even share of what is left. Spacers
        // come last, with their minimum lengths kept for them meanwhile, so that they only take
        // what the other children leave.
        std::vector<std::pair<double, std::size_t>> order;
        std::vector<std::size_t> spacers;
        double reserved = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (const auto* spacer = std::get_if<node::Spacer>(&entries[i].child->node().payload)) {
                spacers.push_back(i);
                reserved += spacer->minLength.value_or(defaultSpacing);
                continue;
            }
            const double smallest = along(measure(*entries[i].child, proposal(axis, 0.0, cross), environment, axis), axis);
            const double largest = along(measure(*entries[i].child, proposal(axis, infinity, cross), environment, axis), axis);
            order.emplace_back(largest - smallest, i);
        }
        std::stable_sort(order.begin(), order.end(),
                         [](const auto& left, const auto& right) { return left.first < right.first; });
        double remaining = std::isinf(*main) ? *main : std::max(0.0, *main - spacing - reserved);
        std::size_t left = order.size();
        const auto choose = [&](std::size_t index) {
            const double share = std::isinf(remaining) ? remaining : std::max(0.0, remaining / static_cast<double>(left));
            entries[index].proposal = proposal(axis, share, cross);
            entries[index].size = measure(*entries[index].child, entries[index].proposal, environment, axis);
            if (!std::isinf(remaining)) {
                remaining -= along(entries[index].size, axis);
            }
            --left;
        };
        for (const auto& [flexibility, index] : order) {
            choose(index);
        }
        remaining += reserved;
        left = spacers.size();
        for (const std::size_t index : spacers) {
            choose(index);
        }
        return entries;
    }

    Size aspectTarget(const View& view, const node::AspectRatio& payload, ProposedSize p,
                      const EnvironmentValues& environment) {
        const View& child = view.node().children.front();
        const Size ideal = measure(child, {}, environment, std::nullopt);
        const double ratio = payload.ratio.value_or(ideal.height > 0 ? ideal.width / ideal.height : 1.0);
        if (ratio <= 0 || !std::isfinite(ratio)) {
            return ideal;
        }
        const double width = p.width.value_or(p.height ? *p.height * ratio : ideal.width);
        const double height = p.height.value_or(p.width ? *p.width / ratio : ideal.height);
        double chosen = payload.mode == node::AspectRatio::ContentMode::fit ? std::min(width, height * ratio)
                                                                             : std::max(width, height * ratio);
        if (std::isinf(chosen)) {
            chosen = std::isinf(width) ? height * ratio : width;
        }
        return {chosen, chosen / ratio};
    }

    Size compute(const View& view, ProposedSize p, const EnvironmentValues& environment, std::optional<Axis> axis) {
        const Node& current = view.node();
        const auto child = [&](ProposedSize childProposal, const EnvironmentValues& childEnvironment,
                               std::optional<Axis> childAxis = std::nullopt) {
            return measure(current.children.front(), childProposal, childEnvironment, childAxis);
        };
        return std::visit(
            [&](const auto& payload) -> Size {
                using P = std::decay_t<decltype(payload)>;
                if constexpr (std::is_same_v<P, node::Empty>) {
                    return {};
                } else if constexpr (std::is_same_v<P, node::Stack>) {
                    if (payload.kind == node::Stack::Kind::depth) {
                        Size size;
                        for (const View& each : current.children) {
                            const Size one = measure(each, p, environment, std::nullopt);
                            size = {std::max(size.width, one.width), std::max(size.height, one.height)};
                        }
                        return size;
                    }
                    const Axis stackAxis = payload.kind == node::Stack::Kind::horizontal ? Axis::horizontal : Axis::vertical;
                    const auto entries = stack(current, payload, p, environment);
                    double main = entries.empty() ? 0 : payload.spacing.value_or(defaultSpacing) * double(entries.size() - 1);
                    double cross = 0;
                    for (const auto& entry : entries) {
                        main += along(entry.size, stackAxis);
                        cross = std::max(cross, across(entry.size, stackAxis));
                    }
                    return stackAxis == Axis::horizontal ? Size{main, cross} : Size{cross, main};
                } else if constexpr (std::is_same_v<P, node::Spacer>) {
                    const double minimum = payload.minLength.value_or(defaultSpacing);
                    if (!axis) {
                        return {p.width.value_or(0), p.height.value_or(0)};
                    }
                    const double main = std::max(minimum, along(p, *axis).value_or(minimum));
                    return *axis == Axis::horizontal ? Size{main, 0} : Size{0, main};
                } else if constexpr (std::is_same_v<P, node::Text>) {
                    auto& shaper = internal::TextShaper::current();
                    const auto width = p.width && std::isfinite(*p.width) ? p.width : std::nullopt;
                    Size size = shaper.measure(payload, environment, width, environment.lineLimit);
                    if (p.height && std::isfinite(*p.height) && size.height > *p.height + 0.5) {
                        // Too tall for the space: as many lines as fit, at least one.
                        const double line = shaper.measure(payload, environment, width, 1).height;
                        const int lines = std::max(1, static_cast<int>(std::floor(*p.height / std::max(line, 1.0))));
                        size = shaper.measure(payload, environment, width,
                                              std::min(lines, environment.lineLimit.value_or(lines)));
                    }
                    return size;
                } else if constexpr (std::is_same_v<P, node::Image>) {
                    const Size intrinsic = internal::ImageStore::shared().intrinsicSize(payload, environment.font.pointSize());
                    if (!payload.resizable) {
                        return intrinsic;
                    }
                    return {p.width.value_or(intrinsic.width), p.height.value_or(intrinsic.height)};
                } else if constexpr (std::is_same_v<P, node::ShapeView> || std::is_same_v<P, node::ColorFill> ||
                                     std::is_same_v<P, node::GeometryReader> || std::is_same_v<P, node::Native>) {
                    return {p.width.value_or(10), p.height.value_or(10)};
                } else if constexpr (std::is_same_v<P, node::EnvironmentReader>) {
                    return measure(readerContent(view, payload, environment), p, environment, axis);
                } else if constexpr (std::is_same_v<P, node::Frame>) {
                    return frameSize(view, payload, p, environment);
                } else if constexpr (std::is_same_v<P, node::Padding>) {
                    const auto& insets = payload.insets;
                    const Size inner = child({shrink(p.width, insets.leading + insets.trailing),
                                              shrink(p.height, insets.top + insets.bottom)},
                                             environment);
                    return {inner.width + insets.leading + insets.trailing, inner.height + insets.top + insets.bottom};
                } else if constexpr (std::is_same_v<P, node::Environment>) {
                    EnvironmentValues inner = environment;
                    payload.apply(inner);
                    return child(p, inner, axis);
                } else if constexpr (std::is_same_v<P, node::FixedSize>) {
                    return child({payload.horizontal ? std::nullopt : p.width, payload.vertical ? std::nullopt : p.height},
                                 environment);
                } else if constexpr (std::is_same_v<P, node::AspectRatio>) {
                    return child(ProposedSize::of(aspectTarget(view, payload, p, environment)), environment);
                } else if constexpr (std::is_same_v<P, node::Toggle>) {
                    return options.metrics->toggle(internal::TextShaper::current().measure(
                        titleText(payload.title), environment, std::nullopt, 1));
                } else if constexpr (std::is_same_v<P, node::Button>) {
                    return options.metrics->button(child({}, environment));
                } else if constexpr (std::is_same_v<P, node::TabView>) {
                    const double bar = options.metrics->tabBarHeight();
                    Size ideal;
                    for (const View& tab : current.children) {
                        const Size one = measure(tab, {}, environment, std::nullopt);
                        ideal = {std::max(ideal.width, one.width), std::max(ideal.height, one.height)};
                    }
                    return {p.width.value_or(ideal.width), p.height.value_or(ideal.height + bar)};
                } else if constexpr (std::is_same_v<P, node::ProgressView>) {
                    return options.metrics->progressCircle();
                } else {
                    // Modifiers that draw, mark or listen take their content's size; a spacer
                    // inside them still stretches along the stack around them.
                    return child(p, environment, axis);
                }
            },
            current.payload);
    }

    Size frameSize(const View& view, const node::Frame& frame, ProposedSize p, const EnvironmentValues& environment) {
        const View& content = view.node().children.front();
        if (!frame.flexible) {
            const Size inner = measure(content, {frame.width ? frame.width : p.width, frame.height ? frame.height : p.height},
                                       environment, std::nullopt);
            return {frame.width.value_or(inner.width), frame.height.value_or(inner.height)};
        }
        const Size inner = measure(content, flexibleProposal(frame, p), environment, std::nullopt);
        const auto side = [](std::optional<double> offered, double childSide, std::optional<double> minimum,
                             std::optional<double> ideal, std::optional<double> maximum) {
            if (!minimum && !maximum) {
                return offered ? childSide : ideal.value_or(childSide);
            }
            const double wanted = offered.value_or(ideal.value_or(childSide));
            const double upper = maximum.value_or(childSide);
            const double lower = minimum.value_or(std::min(childSide, upper));
            return std::max(lower, std::min(wanted, upper));
        };
        return {side(p.width, inner.width, frame.minWidth, frame.idealWidth, frame.maxWidth),
                side(p.height, inner.height, frame.minHeight, frame.idealHeight, frame.maxHeight)};
    }

    static ProposedSize flexibleProposal(const node::Frame& frame, ProposedSize p) {
        const auto side = [](std::optional<double> offered, std::optional<double> minimum, std::optional<double> ideal,
                             std::optional<double> maximum) -> std::optional<double> {
            if (!offered) {
                return ideal;
            }
            return clampBetween(*offered, minimum, maximum);
        };
        return {side(p.width, frame.minWidth, frame.idealWidth, frame.maxWidth),
                side(p.height, frame.minHeight, frame.idealHeight, frame.maxHeight)};
    }

    LaidOutView place(const View& view, ProposedSize p, Point origin, const std::shared_ptr<const EnvironmentValues>& environment,
                      const std::string& identity, std::optional<Axis> axis) {
        const Node& current = view.node();
        LaidOutView out;
        out.node = view.shared();
        out.environment = environment;
        out.identity = identity;
        const Size size = measure(view, p, *environment, axis);
        out.frame = Rect{origin, size};
        const auto childIdentity = [&](std::size_t index, const View& child) {
            std::string id = identity + '/' + std::to_string(index) + ':' + std::to_string(child.node().payload.index());
            if (const auto* explicitId = std::get_if<node::Identity>(&child.node().payload)) {
                id += '#' + explicitId->id;
            }
            return id;
        };
        const auto placeChild = [&](std::size_t index, ProposedSize childProposal, Point childOrigin,
                                    const std::shared_ptr<const EnvironmentValues>& childEnvironment,
                                    std::optional<Axis> childAxis = std::nullopt) {
            const View& child = current.children.at(index);
            out.children.push_back(place(child, childProposal, childOrigin, childEnvironment, childIdentity(index, child), childAxis));
        };
        const Rect frame = out.frame;
        std::visit(
            [&](const auto& payload) {
                using P = std::decay_t<decltype(payload)>;
                if constexpr (std::is_same_v<P, node::Stack>) {
                    if (payload.kind == node::Stack::Kind::depth) {
                        for (std::size_t i = 0; i < current.children.size(); ++i) {
                            const Size one = measure(current.children[i], p, *environment, std::nullopt);
                            placeChild(i, p, aligned(payload.alignment, frame, one), environment);
                        }
                        return;
                    }
                    const bool horizontal = payload.kind == node::Stack::Kind::horizontal;
                    const Axis stackAxis = horizontal ? Axis::horizontal : Axis::vertical;
                    const auto entries = stack(current, payload, p, *environment);
                    const double spacing = payload.spacing.value_or(defaultSpacing);
                    double cursor = horizontal ? frame.minX() : frame.minY();
                    for (const auto& entry : entries) {
                        const auto index = static_cast<std::size_t>(entry.child - current.children.data());
                        Point at;
                        if (horizontal) {
                            at = {cursor, frame.minY() + alignedOffset(payload.alignment.vertical, frame.height(), entry.size.height)};
                        } else {
                            at = {frame.minX() + alignedOffset(payload.alignment.horizontal, frame.width(), entry.size.width), cursor};
                        }
                        placeChild(index, entry.proposal, at, environment, stackAxis);
                        cursor += along(entry.size, stackAxis) + spacing;
                    }
                } else if constexpr (std::is_same_v<P, node::Frame>) {
                    const ProposedSize inner = payload.flexible
                                                   ? flexibleProposal(payload, p)
                                                   : ProposedSize{payload.width ? payload.width : p.width,
                                                                  payload.height ? payload.height : p.height};
                    const Size childSize = measure(current.children.front(), inner, *environment, std::nullopt);
                    placeChild(0, inner, aligned(payload.alignment, frame, childSize), environment);
                } else if constexpr (std::is_same_v<P, node::Padding>) {
                    const auto& insets = payload.insets;
                    placeChild(0, {shrink(p.width, insets.leading + insets.trailing), shrink(p.height, insets.top + insets.bottom)},
                               {frame.minX() + insets.leading, frame.minY() + insets.top}, environment);
                } else if constexpr (std::is_same_v<P, node::Background> || std::is_same_v<P, node::Overlay>) {
                    placeChild(0, p, frame.origin, environment, axis);
                    const Size layer = measure(current.children.at(1), ProposedSize::of(size), *environment, std::nullopt);
                    placeChild(1, ProposedSize::of(size), aligned(payload.alignment, frame, layer), environment);
                } else if constexpr (std::is_same_v<P, node::Offset>) {
                    placeChild(0, p, {frame.minX() + payload.x, frame.minY() + payload.y}, environment, axis);
                } else if constexpr (std::is_same_v<P, node::Environment>) {
                    auto inner = std::make_shared<EnvironmentValues>(*environment);
                    payload.apply(*inner);
                    placeChild(0, p, frame.origin, inner, axis);
                } else if constexpr (std::is_same_v<P, node::FixedSize>) {
                    placeChild(0, {payload.horizontal ? std::nullopt : p.width, payload.vertical ? std::nullopt : p.height},
                               frame.origin, environment);
                } else if constexpr (std::is_same_v<P, node::AspectRatio>) {
                    placeChild(0, ProposedSize::of(aspectTarget(view, payload, p, *environment)), frame.origin, environment);
                } else if constexpr (std::is_same_v<P, node::GeometryReader>) {
                    const View content = payload.content(GeometryProxy{size});
                    out.children.push_back(place(content, ProposedSize::of(size), frame.origin, environment,
                                                 identity + "/content:" + std::to_string(content.node().payload.index()),
                                                 std::nullopt));
                } else if constexpr (std::is_same_v<P, node::EnvironmentReader>) {
                    const View& content = readerContent(view, payload, *environment);
                    out.children.push_back(place(content, p, frame.origin, environment,
                                                 identity + "/content:" + std::to_string(content.node().payload.index()),
                                                 axis));
                } else if constexpr (std::is_same_v<P, node::Button>) {
                    const Size label = measure(current.children.front(), {}, *environment, std::nullopt);
                    placeChild(0, {}, aligned(Alignment::center(), frame, label), environment);
                } else if constexpr (std::is_same_v<P, node::Link>) {
                    // A link is as large as its label in the space offered, so the label is laid
                    // out in that space too: a long title then truncates instead of spilling out.
                    placeChild(0, p, frame.origin, environment, axis);
                } else if constexpr (std::is_same_v<P, node::TabView>) {
                    const double bar = options.metrics->tabBarHeight();
                    const Rect content{{frame.minX(), frame.minY() + bar}, {size.width, std::max(0.0, size.height - bar)}};
                    for (std::size_t i = 0; i < current.children.size(); ++i) {
                        placeChild(i, ProposedSize::of(content.size), content.origin, environment);
                    }
                    // The tabs' labels sit side by side, centred in the bar.
                    std::vector<Size> labels;
                    double row = 0;
                    for (const View& tab : current.children) {
                        const bool isItem = std::holds_alternative<node::TabItem>(tab.node().payload);
                        labels.push_back(isItem ? measure(tab.node().children.at(1), {}, *environment, std::nullopt) : Size{});
                        row += labels.back().width;
                    }
                    constexpr double gap = 16;
                    row += gap * static_cast<double>(labels.empty() ? 0 : labels.size() - 1);
                    double x = frame.minX() + (size.width - row) / 2;
                    for (std::size_t i = 0; i < out.children.size(); ++i) {
                        LaidOutView& item = out.children[i];
                        if (item.as<node::TabItem>() != nullptr && item.children.size() == 2) {
                            const View& label = current.children[i].node().children.at(1);
                            item.children[1] = place(label, {}, {x, frame.minY() + (bar - labels[i].height) / 2}, environment,
                                                     item.children[1].identity, std::nullopt);
                        }
                        x += labels[i].width + gap;
                    }
                    out.selection = options.selectedTab ? options.selectedTab(identity) : 0;
                    if (out.selection >= current.children.size()) {
                        out.selection = 0;
                    }
                } else if constexpr (std::is_same_v<P, node::TabItem>) {
                    placeChild(0, p, frame.origin, environment);
                    // The label sits in the tab bar above; its place there is the tab view's business.
                    const Size label = measure(current.children.at(1), {}, *environment, std::nullopt);
                    placeChild(1, {}, {frame.minX(), frame.minY() - label.height}, environment);
                } else if constexpr (std::is_same_v<P, node::Opacity>) {
                    out.opacity = payload.value;
                    placeChild(0, p, frame.origin, environment, axis);
                } else if constexpr (std::is_same_v<P, node::ShapeView>) {
                    out.trimFrom = payload.shape.trimFrom();
                    out.trimTo = payload.shape.trimTo();
                } else {
                    for (std::size_t i = 0; i < current.children.size(); ++i) {
                        placeChild(i, p, frame.origin, environment, axis);
                    }
                }
            },
            current.payload);
        return out;
    }
};

LayoutEngine::LayoutEngine() : LayoutEngine(Options{}) {}
LayoutEngine::LayoutEngine(Options options) : options_(std::move(options)) {}
LayoutEngine::~LayoutEngine() = default;

LaidOutView LayoutEngine::layout(const View& root, Size space, const EnvironmentValues& environment) {
    Pass pass{options_, {}, {}};
    pass.measured.reserve(1024);
    const auto shared = std::make_shared<const EnvironmentValues>(environment);
    const ProposedSize offered = ProposedSize::of(space);
    const Size size = pass.measure(root, offered, environment, std::nullopt);
    const Rect whole{{0, 0}, space};
    return pass.place(root, offered, aligned(Alignment::center(), whole, size), shared,
                      "0:" + std::to_string(root.node().payload.index()), std::nullopt);
}

Size LayoutEngine::sizeThatFits(const View& root, ProposedSize proposal, const EnvironmentValues& environment) {
    Pass pass{options_, {}, {}};
    return pass.measure(root, proposal, environment, std::nullopt);
}

}  // namespace ui
