#pragma once

#include <optional>
#include <string>

namespace ui {

// A font as a view asks for it: the system font at a size, or a semantic style that the system
// sizes, each with a weight and a design. Sizes are points.
class Font {
public:
    enum class Weight { ultraLight, thin, light, regular, medium, semibold, bold, heavy, black };
    enum class Design { standard, serif, rounded, monospaced };
    enum class TextStyle { largeTitle, title, title2, title3, headline, subheadline, body, callout, footnote, caption, caption2 };

    static Font system(double size, Weight weight = Weight::regular, Design design = Design::standard) {
        return Font(TextStyle::body, size, weight, design);
    }
    static Font largeTitle() { return Font(TextStyle::largeTitle); }
    static Font title() { return Font(TextStyle::title); }
    static Font title2() { return Font(TextStyle::title2); }
    static Font title3() { return Font(TextStyle::title3); }
    static Font headline() { return Font(TextStyle::headline); }
    static Font subheadline() { return Font(TextStyle::subheadline); }
    static Font body() { return Font(TextStyle::body); }
    static Font callout() { return Font(TextStyle::callout); }
    static Font footnote() { return Font(TextStyle::footnote); }
    static Font caption() { return Font(TextStyle::caption); }
    static Font caption2() { return Font(TextStyle::caption2); }

    [[nodiscard]] Font weight(Weight value) const {
        Font copy = *this;
        copy.weight_ = value;
        return copy;
    }
    [[nodiscard]] Font bold() const { return weight(Weight::bold); }

    // The type size in points: the one given, or the size of the style.
    [[nodiscard]] double pointSize() const noexcept;
    [[nodiscard]] Weight fontWeight() const noexcept;
    [[nodiscard]] Design design() const noexcept { return design_; }
    [[nodiscard]] std::optional<TextStyle> textStyle() const noexcept {
        return size_ ? std::nullopt : std::optional<TextStyle>(style_);
    }

    friend bool operator==(const Font&, const Font&) = default;

private:
    explicit Font(TextStyle style, std::optional<double> size = std::nullopt,
                  std::optional<Weight> weight = std::nullopt, Design design = Design::standard)
        : style_(style), size_(size), weight_(weight), design_(design) {}

    TextStyle style_;
    std::optional<double> size_;
    std::optional<Weight> weight_;
    Design design_;
};

}  // namespace ui
