#include "platform/kits/ui/Color.hpp"

#include "platform/kits/ui/AssetCatalog.hpp"

namespace ui {

RGBA Color::resolve(ColorScheme scheme) const {
    RGBA value{};
    const bool dark = scheme == ColorScheme::dark;
    switch (kind_) {
    case Kind::components:
        value = components_;
        break;
    case Kind::asset:
        value = AssetCatalog::main().color(name_, scheme).value_or(RGBA{});
        break;
    case Kind::primary:
        value = dark ? RGBA{1, 1, 1, 0.85} : RGBA{0, 0, 0, 0.85};
        break;
    case Kind::secondary:
        value = dark ? RGBA{1, 1, 1, 0.55} : RGBA{0, 0, 0, 0.5};
        break;
    case Kind::accent:
        value = dark ? RGBA{0.1, 0.52, 1, 1} : RGBA{0, 0.48, 1, 1};
        break;
    }
    value.alpha *= opacity_;
    return value;
}

}  // namespace ui
