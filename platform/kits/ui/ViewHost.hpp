#pragma once

#include "platform/runtime/base/WeakSelf.hpp"
#include "platform/runtime/combine/AnyCancellable.hpp"
#include "platform/kits/ui/Bitmap.hpp"
#include "platform/kits/ui/EnvironmentValues.hpp"
#include "platform/kits/ui/Geometry.hpp"
#include "platform/kits/ui/LaidOutView.hpp"
#include "platform/kits/ui/LayoutEngine.hpp"
#include "platform/kits/ui/Renderer.hpp"
#include "platform/kits/ui/View.hpp"

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// Keeps a view tree on screen, whatever shows it (a window, a tray icon, a test): evaluates the
// root, lays it out, tells views when they come on screen and when they leave, re-evaluates when
// an observed object announces a change, and moves animated values between two layouts. Lives
// on the main thread.
class ViewHost {
public:
    struct Options {
        Size size;
        EnvironmentValues environment;
        const ControlMetrics* metrics = &ControlMetrics::standard();
        // Seconds on a steady clock; tests pass their own.
        std::function<double()> clock;
    };

    ViewHost(std::function<View()> root, Options options);
    // Everything still on screen leaves it.
    ~ViewHost();
    ViewHost(const ViewHost&) = delete;
    ViewHost& operator=(const ViewHost&) = delete;

    // Evaluates the root again and lays it out now; a change of an observed object does this on a
    // later turn of the main loop.
    void update();
    // Asks for update() on a later turn of the main loop; several asks make one update.
    void setNeedsUpdate() { scheduleUpdate(); }
    void resize(Size size);
    [[nodiscard]] Size size() const noexcept { return options_.size; }

    // Called after every update, for whatever draws the tree.
    void onUpdate(std::function<void()> callback) { onUpdate_ = std::move(callback); }

    // The tree as laid out at the last update.
    [[nodiscard]] const LaidOutView& laidOut() const noexcept { return current_; }
    // The tree as it shows now: animated values between their old and new values.
    [[nodiscard]] LaidOutView presentation() const;
    // Whether an animation is still running, so that whoever draws should draw again soon.
    [[nodiscard]] bool isAnimating() const;

    // The values the shown views offer with View::focusedSceneValue, by key; where two views offer
    // one key, the first in tree order wins. Hidden tabs offer nothing.
    [[nodiscard]] std::map<std::string, std::any> focusedValues() const;

    [[nodiscard]] Bitmap render(double scale = 1.0, bool drawControls = true) const;

    // Shows another tab of the tab view with that identity.
    void selectTab(const std::string& tabViewIdentity, std::size_t index);

    // What a click does, for tests and for windows whose toolkit reports the click: flips the first
    // enabled toggle with that title, or runs the first enabled button whose label reads so.
    // False when there is none, or it is disabled.
    bool flipToggle(const std::string& title);
    bool pressButton(const std::string& label);

private:
    struct Animated {
        std::string prefix;
        Animation animation;
        double start;
        std::map<std::string, std::tuple<double, double, double>> from;  // opacity, trimFrom, trimTo
    };
    struct Faded {
        std::string identity;
        Animation animation;
        double start;
        bool appearing;
        std::optional<LaidOutView> removed;  // for a view that leaves: how it last showed
        std::string parent;
        std::size_t index = 0;
    };

    [[nodiscard]] double now() const;
    void scheduleUpdate();

    std::function<View()> root_;
    Options options_;
    bool updateScheduled_ = false;
    LaidOutView current_;
    std::map<std::string, std::function<void()>> onScreen_;  // identity → the disappear action
    std::map<std::string, std::size_t> tabs_;
    std::vector<combine::AnyCancellable> observations_;
    std::vector<Animated> animations_;
    std::vector<Faded> fades_;
    std::function<void()> onUpdate_;
    base::WeakSelf<ViewHost> self_{this};
};

}  // namespace ui
