#pragma once

#include "platform/kits/ui/Color.hpp"
#include "platform/kits/ui/ColorScheme.hpp"

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace ui {

// The named colours and images of a program's resources. The directory holds "Assets.json", whose
// "colors" object gives each colour name a "light" and a "dark" value written "#RRGGBB" or
// "#RRGGBBAA" and whose "templateImages" lists the images drawn in the foreground colour (their own
// colours only say where they are opaque), and one picture file per image name ("AppIcon.svg",
// "KVClock.png", ...).
class AssetCatalog {
public:
    // Reads the directory's colours. A missing or malformed colour file gives a catalogue without
    // colours and says why on standard error; it never stops the program.
    explicit AssetCatalog(std::filesystem::path directory);

    // The catalogue among the running program's resources (foundation::Bundle), read once.
    static const AssetCatalog& main();

    [[nodiscard]] std::optional<RGBA> color(const std::string& name, ColorScheme scheme) const;
    // The file of an image, when the catalogue has one.
    [[nodiscard]] std::optional<std::filesystem::path> imageFile(const std::string& name) const;
    [[nodiscard]] bool isTemplateImage(const std::string& name) const;
    [[nodiscard]] const std::filesystem::path& directory() const noexcept { return directory_; }

private:
    std::filesystem::path directory_;
    std::map<std::string, std::pair<RGBA, RGBA>> colors_;
    std::set<std::string, std::less<>> templates_;
};

}  // namespace ui
