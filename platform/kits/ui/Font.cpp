#include "platform/kits/ui/Font.hpp"

namespace ui {

// The desktop sizes of the styles, in points.
double Font::pointSize() const noexcept {
    if (size_) {
        return *size_;
    }
    switch (style_) {
    case TextStyle::largeTitle: return 26;
    case TextStyle::title: return 22;
    case TextStyle::title2: return 17;
    case TextStyle::title3: return 15;
    case TextStyle::headline: return 13;
    case TextStyle::subheadline: return 11;
    case TextStyle::body: return 13;
    case TextStyle::callout: return 12;
    case TextStyle::footnote: return 10;
    case TextStyle::caption: return 10;
    case TextStyle::caption2: return 10;
    }
    return 13;
}

Font::Weight Font::fontWeight() const noexcept {
    if (weight_) {
        return *weight_;
    }
    return style_ == TextStyle::headline && !size_ ? Weight::bold : Weight::regular;
}

}  // namespace ui
