#pragma once

namespace ui {

// How an animatable value moves from its old to its new value over time.
class Animation {
public:
    enum class Curve { easeInOut, linear, spring };

    // The platform's default: ease in and out over 0.35 s.
    static Animation standard() { return Animation(Curve::easeInOut, 0.35); }
    static Animation linear(double duration = 0.35) { return Animation(Curve::linear, duration); }
    static Animation easeInOut(double duration = 0.35) { return Animation(Curve::easeInOut, duration); }
    static Animation spring(double response = 0.55, double dampingFraction = 0.825, double blendDuration = 0) {
        Animation animation(Curve::spring, response);
        animation.dampingFraction_ = dampingFraction;
        animation.blendDuration_ = blendDuration;
        return animation;
    }

    [[nodiscard]] Curve curve() const noexcept { return curve_; }
    // How long the value moves before it rests, in seconds.
    [[nodiscard]] double duration() const noexcept;
    [[nodiscard]] double response() const noexcept { return duration_; }
    [[nodiscard]] double dampingFraction() const noexcept { return dampingFraction_; }
    [[nodiscard]] double blendDuration() const noexcept { return blendDuration_; }

    // The share of the way from old to new at `elapsed` seconds: 0 at the start, 1 once at rest (a
    // spring may overshoot on the way).
    [[nodiscard]] double progress(double elapsed) const noexcept;

    friend bool operator==(const Animation&, const Animation&) = default;

private:
    Animation(Curve curve, double duration) : curve_(curve), duration_(duration) {}

    Curve curve_;
    double duration_;
    double dampingFraction_ = 1;
    double blendDuration_ = 0;
};

// How a view enters and leaves: it fades in and out, in the given animation.
struct Transition {
    enum class Kind { identity, opacity };
    Kind kind = Kind::identity;
    Animation animation = Animation::standard();
    bool hasAnimation = false;

    static Transition opacity() { return Transition{Kind::opacity}; }
    [[nodiscard]] Transition withAnimation(Animation value) const {
        Transition copy = *this;
        copy.animation = value;
        copy.hasAnimation = true;
        return copy;
    }
};

}  // namespace ui
