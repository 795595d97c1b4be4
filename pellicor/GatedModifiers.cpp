#include "pellicor/GatedModifiers.hpp"

#include "platform/runtime/foundation/core/ProcessInfo.hpp"

namespace pellicor {
namespace {

bool systemIsAtLeast(int majorVersion) {
    return foundation::ProcessInfo::processInfo().isOperatingSystemAtLeast({majorVersion, 0, 0});
}

}  // namespace

ui::View tintIfAvailable(const ui::View& view, std::optional<ui::Color> color) {
    return systemIsAtLeast(12) ? view.tint(std::move(color)) : view;
}

ui::View privacySensitiveIfAvailable(const ui::View& view) {
    return systemIsAtLeast(13) ? view.privacySensitive() : view;
}

ui::View widgetAccentableIfAvailable(const ui::View& view) {
    return systemIsAtLeast(13) ? view.widgetAccentable() : view;
}

}  // namespace pellicor
