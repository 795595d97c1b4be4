#include "platform/kits/ui/AssetCatalog.hpp"

#include "platform/runtime/foundation/core/Bundle.hpp"

#include <simdjson.h>

#include <array>
#include <iostream>

namespace ui {

namespace {

std::optional<RGBA> parseHex(std::string_view text) {
    if (text.size() != 7 && text.size() != 9) {
        return std::nullopt;
    }
    if (text.front() != '#') {
        return std::nullopt;
    }
    std::array<double, 4> channels{0, 0, 0, 1};
    for (std::size_t i = 0; i * 2 + 1 < text.size(); ++i) {
        unsigned value = 0;
        for (char c : text.substr(1 + i * 2, 2)) {
            value *= 16;
            if (c >= '0' && c <= '9') {
                value += static_cast<unsigned>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                value += static_cast<unsigned>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                value += static_cast<unsigned>(c - 'A' + 10);
            } else {
                return std::nullopt;
            }
        }
        channels.at(i) = value / 255.0;
    }
    return RGBA{channels[0], channels[1], channels[2], channels[3]};
}

}  // namespace

AssetCatalog::AssetCatalog(std::filesystem::path directory) : directory_(std::move(directory)) {
    const auto file = directory_ / "Assets.json";
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    if (const auto error = parser.load(file.string()).get(root)) {
        std::cerr << "asset catalogue: cannot read " << file << ": " << simdjson::error_message(error) << '\n';
        return;
    }
    simdjson::dom::object colors;
    if (root["colors"].get(colors)) {
        std::cerr << "asset catalogue: " << file << " has no object of colours\n";
        return;
    }
    simdjson::dom::array templates;
    if (!root["templateImages"].get(templates)) {
        for (auto name : templates) {
            std::string_view text;
            if (!name.get(text)) {
                templates_.emplace(text);
            }
        }
    }
    for (auto [name, value] : colors) {
        std::string_view light;
        std::string_view dark;
        if (value["light"].get(light) || value["dark"].get(dark)) {
            std::cerr << "asset catalogue: colour " << name << " needs a light and a dark value\n";
            continue;
        }
        const auto lightValue = parseHex(light);
        const auto darkValue = parseHex(dark);
        if (!lightValue || !darkValue) {
            std::cerr << "asset catalogue: colour " << name << " is not written #RRGGBB or #RRGGBBAA\n";
            continue;
        }
        colors_.emplace(std::string(name), std::make_pair(*lightValue, *darkValue));
    }
}

const AssetCatalog& AssetCatalog::main() {
    static const AssetCatalog catalogue([] {
        const auto file = foundation::Bundle::main().urlForResource("Assets", "json");
        const auto& directories = foundation::Bundle::main().resourceDirectories();
        if (file) {
            return std::filesystem::path(file->path()).parent_path();
        }
        return directories.empty() ? std::filesystem::path() : directories.front();
    }());
    return catalogue;
}

std::optional<RGBA> AssetCatalog::color(const std::string& name, ColorScheme scheme) const {
    const auto found = colors_.find(name);
    if (found == colors_.end()) {
        return std::nullopt;
    }
    return scheme == ColorScheme::dark ? found->second.second : found->second.first;
}

bool AssetCatalog::isTemplateImage(const std::string& name) const { return templates_.contains(name); }

std::optional<std::filesystem::path> AssetCatalog::imageFile(const std::string& name) const {
    if (name.empty() || name.find('/') != std::string::npos || name.starts_with('.')) {
        return std::nullopt;
    }
    for (const char* extension : {".svg", ".png", ".jpg"}) {
        auto candidate = directory_ / (name + extension);
        std::error_code ignored;
        if (std::filesystem::is_regular_file(candidate, ignored)) {
            return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace ui
