#include "platform/kits/widgetkit/WidgetFamily.hpp"

#include <array>
#include <utility>

namespace widgetkit {
namespace {

constexpr std::string_view familyKey = "widgetFamily";

struct FamilyTraits {
    WidgetFamily family;
    std::string_view name;
    ui::Size size;
};

// The sizes of the desktop's widgets, and of the accessory forms as a lock screen would draw them.
constexpr std::array<FamilyTraits, 7> traits{{
    {WidgetFamily::systemSmall, "systemSmall", {170, 170}},
    {WidgetFamily::systemMedium, "systemMedium", {364, 170}},
    {WidgetFamily::systemLarge, "systemLarge", {364, 382}},
    {WidgetFamily::systemExtraLarge, "systemExtraLarge", {768, 382}},
    {WidgetFamily::accessoryCircular, "accessoryCircular", {72, 72}},
    {WidgetFamily::accessoryRectangular, "accessoryRectangular", {160, 72}},
    {WidgetFamily::accessoryInline, "accessoryInline", {240, 26}},
}};

const FamilyTraits& traitsOf(WidgetFamily family) noexcept {
    return traits[static_cast<std::size_t>(family)];
}

}  // namespace

const std::vector<WidgetFamily>& allWidgetFamilies() {
    static const std::vector<WidgetFamily> families = [] {
        std::vector<WidgetFamily> all;
        for (const auto& each : traits) {
            all.push_back(each.family);
        }
        return all;
    }();
    return families;
}

std::string_view name(WidgetFamily family) noexcept {
    return traitsOf(family).name;
}

std::optional<WidgetFamily> widgetFamilyNamed(std::string_view name) noexcept {
    for (const auto& each : traits) {
        if (each.name == name) {
            return each.family;
        }
    }
    return std::nullopt;
}

ui::Size nominalSize(WidgetFamily family) noexcept {
    return traitsOf(family).size;
}

WidgetFamily widgetFamily(const ui::EnvironmentValues& environment) {
    const auto found = environment.extra.find(std::string(familyKey));
    if (found == environment.extra.end()) {
        return WidgetFamily::systemSmall;
    }
    if (const auto* family = std::any_cast<WidgetFamily>(&found->second)) {
        return *family;
    }
    return WidgetFamily::systemSmall;
}

void setWidgetFamily(ui::EnvironmentValues& environment, WidgetFamily family) {
    environment.extra[std::string(familyKey)] = family;
}

}  // namespace widgetkit
