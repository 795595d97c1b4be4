#include "platform/kits/ui/ViewHost.hpp"

#include "platform/runtime/combine/ObservableObject.hpp"
#include "platform/runtime/concurrency/MainActor.hpp"
#include "platform/kits/ui/Node.hpp"

#include <chrono>
#include <set>

namespace ui {

namespace {

// The views on screen with what they do when they leave, the observed objects, and the animation
// markers with their values, in tree order. Hidden tabs are not on screen.
struct Survey {
    std::vector<std::pair<std::string, const node::Lifecycle*>> lifecycles;
    std::vector<std::shared_ptr<combine::ObservableObject>> observed;
    std::map<std::string, const node::AnimationMarker*> animations;
    std::map<std::string, const node::TransitionMarker*> transitions;
    std::map<std::string, std::pair<std::string, std::size_t>> parents;  // identity → parent, index
};

void survey(const LaidOutView& view, Survey& out) {
    if (const auto* lifecycle = view.as<node::Lifecycle>()) {
        out.lifecycles.emplace_back(view.identity, lifecycle);
    } else if (const auto* observe = view.as<node::Observe>()) {
        out.observed.push_back(observe->object);
    } else if (const auto* animation = view.as<node::AnimationMarker>()) {
        out.animations.emplace(view.identity, animation);
    } else if (const auto* transition = view.as<node::TransitionMarker>()) {
        out.transitions.emplace(view.identity, transition);
    }
    const bool tabs = view.as<node::TabView>() != nullptr;
    for (std::size_t i = 0; i < view.children.size(); ++i) {
        out.parents[view.children[i].identity] = {view.identity, i};
        if (tabs && i != view.selection) {
            // A hidden tab's label still shows in the tab bar.
            if (view.children[i].children.size() == 2) {
                survey(view.children[i].children[1], out);
            }
            continue;
        }
        survey(view.children[i], out);
    }
}

void collectValues(const LaidOutView& view, std::map<std::string, std::tuple<double, double, double>>& out,
                   const std::string& prefix) {
    if (view.identity.starts_with(prefix)) {
        out[view.identity] = {view.opacity, view.trimFrom, view.trimTo};
    }
    for (const LaidOutView& child : view.children) {
        collectValues(child, out, prefix);
    }
}

LaidOutView* findView(LaidOutView& view, const std::string& identity) {
    if (view.identity == identity) {
        return &view;
    }
    for (LaidOutView& child : view.children) {
        if (identity.starts_with(child.identity)) {
            if (LaidOutView* found = findView(child, identity)) {
                return found;
            }
        }
    }
    return nullptr;
}

double mix(double from, double to, double progress) { return from + (to - from) * progress; }

void interpolate(LaidOutView& view, const std::string& prefix,
                 const std::map<std::string, std::tuple<double, double, double>>& from, double progress) {
    if (view.identity.starts_with(prefix)) {
        if (const auto found = from.find(view.identity); found != from.end()) {
            const auto& [opacity, trimFrom, trimTo] = found->second;
            view.opacity = mix(opacity, view.opacity, progress);
            view.trimFrom = mix(trimFrom, view.trimFrom, progress);
            view.trimTo = mix(trimTo, view.trimTo, progress);
        }
    }
    for (LaidOutView& child : view.children) {
        if (child.identity.starts_with(prefix) || prefix.starts_with(child.identity)) {
            interpolate(child, prefix, from, progress);
        }
    }
}

const LaidOutView* findFirst(const LaidOutView& view, const std::function<bool(const LaidOutView&)>& match) {
    if (match(view)) {
        return &view;
    }
    const bool tabs = view.as<node::TabView>() != nullptr;
    for (std::size_t i = 0; i < view.children.size(); ++i) {
        if (tabs && i != view.selection) {
            continue;
        }
        if (const LaidOutView* found = findFirst(view.children[i], match)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

ViewHost::ViewHost(std::function<View()> root, Options options) : root_(std::move(root)), options_(std::move(options)) {
    update();
}

ViewHost::~ViewHost() {
    observations_.clear();
    for (auto& [identity, disappear] : onScreen_) {
        if (disappear) {
            disappear();
        }
    }
}

double ViewHost::now() const {
    if (options_.clock) {
        return options_.clock();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void ViewHost::scheduleUpdate() {
    if (updateScheduled_) {
        return;
    }
    updateScheduled_ = true;
    // The object announces a change before it makes it: evaluate once it has been made.
    concurrency::MainActor::shared().enqueue(base::ifAlive(self_.weak(), [](ViewHost& host) {
        host.updateScheduled_ = false;
        host.update();
    }));
}

void ViewHost::update() {
    updateScheduled_ = false;
    const double time = now();
    const LaidOutView shown = current_.node ? presentation() : LaidOutView{};

    LayoutEngine::Options layoutOptions;
    layoutOptions.metrics = options_.metrics;
    layoutOptions.selectedTab = [this](const std::string& identity) {
        const auto found = tabs_.find(identity);
        return found == tabs_.end() ? std::size_t{0} : found->second;
    };
    LayoutEngine engine(layoutOptions);
    LaidOutView next = engine.layout(root_(), options_.size, options_.environment);

    Survey before;
    if (current_.node) {
        survey(current_, before);
    }
    Survey after;
    survey(next, after);

    // Changed animation values animate what lies below their marker, from what shows now.
    for (const auto& [identity, marker] : after.animations) {
        const auto old = before.animations.find(identity);
        if (old == before.animations.end() || old->second->value == marker->value || !marker->animation) {
            continue;
        }
        Animated animated{identity, *marker->animation, time, {}};
        collectValues(shown, animated.from, identity);
        std::erase_if(animations_, [&](const Animated& running) { return running.prefix == identity; });
        animations_.push_back(std::move(animated));
    }
    // Views with a transition fade in when they come and out when they go.
    for (const auto& [identity, marker] : after.transitions) {
        if (current_.node && !before.transitions.contains(identity) && marker->transition.kind == Transition::Kind::opacity) {
            fades_.push_back({identity, marker->transition.animation, time, true, std::nullopt, {}, 0});
        }
    }
    for (const auto& [identity, marker] : before.transitions) {
        if (!after.transitions.contains(identity) && marker->transition.kind == Transition::Kind::opacity) {
            LaidOutView copy = shown;
            if (const LaidOutView* leaving = findView(copy, identity)) {
                const auto& [parent, index] = before.parents[identity];
                fades_.push_back({identity, marker->transition.animation, time, false, *leaving, parent, index});
            }
        }
    }

    current_ = std::move(next);
    std::erase_if(animations_, [time](const Animated& done) { return time - done.start >= done.animation.duration(); });
    std::erase_if(fades_, [time](const Faded& done) { return time - done.start >= done.animation.duration(); });

    // Leaving first, then coming, each in tree order.
    std::set<std::string> present;
    for (const auto& [identity, lifecycle] : after.lifecycles) {
        present.insert(identity);
    }
    std::vector<std::function<void()>> leaving;
    for (auto it = onScreen_.begin(); it != onScreen_.end();) {
        if (!present.contains(it->first)) {
            leaving.push_back(std::move(it->second));
            it = onScreen_.erase(it);
        } else {
            ++it;
        }
    }
    std::vector<std::function<void()>> coming;
    for (const auto& [identity, lifecycle] : after.lifecycles) {
        if (!onScreen_.contains(identity)) {
            onScreen_.emplace(identity, lifecycle->onDisappear);
            if (lifecycle->onAppear) {
                coming.push_back(lifecycle->onAppear);
            }
        }
    }

    observations_.clear();
    for (const auto& object : after.observed) {
        object->objectWillChange()
            .sink(base::ifAlive(self_.weak(), [](ViewHost& host) { host.scheduleUpdate(); }))
            .store(observations_);
    }

    for (auto& action : leaving) {
        if (action) {
            action();
        }
    }
    for (auto& action : coming) {
        action();
    }
    if (onUpdate_) {
        onUpdate_();
    }
}

void ViewHost::resize(Size size) {
    options_.size = size;
    update();
}

LaidOutView ViewHost::presentation() const {
    LaidOutView tree = current_;
    const double time = now();
    for (const Animated& animated : animations_) {
        const double progress = animated.animation.progress(time - animated.start);
        if (progress < 1.0) {
            interpolate(tree, animated.prefix, animated.from, progress);
        }
    }
    for (const Faded& fade : fades_) {
        const double progress = std::clamp(fade.animation.progress(time - fade.start), 0.0, 1.0);
        if (fade.appearing) {
            if (LaidOutView* view = findView(tree, fade.identity)) {
                view->opacity *= progress;
            }
        } else if (fade.removed && progress < 1.0) {
            if (LaidOutView* parent = findView(tree, fade.parent)) {
                LaidOutView ghost = *fade.removed;
                ghost.opacity *= 1.0 - progress;
                const auto at = std::min(fade.index, parent->children.size());
                parent->children.insert(parent->children.begin() + static_cast<std::ptrdiff_t>(at), std::move(ghost));
            }
        }
    }
    return tree;
}

bool ViewHost::isAnimating() const {
    const double time = now();
    for (const Animated& animated : animations_) {
        if (time - animated.start < animated.animation.duration()) {
            return true;
        }
    }
    for (const Faded& fade : fades_) {
        if (time - fade.start < fade.animation.duration()) {
            return true;
        }
    }
    return false;
}

std::map<std::string, std::any> ViewHost::focusedValues() const {
    std::map<std::string, std::any> values;
    // Visits every shown view: the match collects and never stops the search.
    findFirst(current_, [&](const LaidOutView& view) {
        if (const auto* offered = view.as<node::FocusedValue>()) {
            values.try_emplace(offered->key, offered->value);
        }
        return false;
    });
    return values;
}

Bitmap ViewHost::render(double scale, bool drawControls) const {
    Renderer::Options options;
    options.scale = scale;
    options.environment = options_.environment;
    options.metrics = options_.metrics;
    options.drawControls = drawControls;
    return Renderer::render(presentation(), options_.size, options);
}

void ViewHost::selectTab(const std::string& tabViewIdentity, std::size_t index) {
    tabs_[tabViewIdentity] = index;
    update();
}

bool ViewHost::flipToggle(const std::string& title) {
    const LaidOutView* found = findFirst(current_, [&](const LaidOutView& view) {
        const auto* toggle = view.as<node::Toggle>();
        return toggle != nullptr && toggle->title == title;
    });
    if (found == nullptr || !found->environment->isEnabled) {
        return false;
    }
    const auto* toggle = found->as<node::Toggle>();
    toggle->set(!toggle->get());
    return true;
}

bool ViewHost::pressButton(const std::string& label) {
    const LaidOutView* found = findFirst(current_, [&](const LaidOutView& view) {
        if (view.as<node::Button>() == nullptr) {
            return false;
        }
        const LaidOutView* text = findFirst(view, [](const LaidOutView& each) { return each.as<node::Text>() != nullptr; });
        return text != nullptr && text->text() == label;
    });
    if (found == nullptr || !found->environment->isEnabled) {
        return false;
    }
    found->as<node::Button>()->action();
    return true;
}

}  // namespace ui
