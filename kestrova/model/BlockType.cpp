#include "kestrova/model/BlockType.hpp"

#include <array>
#include <utility>

namespace kestrova {
namespace {

constexpr std::array<std::pair<BlockType, std::string_view>, 6> rawValues{{
    {BlockType::audio, "audio"},
    {BlockType::image, "image"},
    {BlockType::text, "text"},
    {BlockType::video, "video"},
    {BlockType::file, "file"},
    {BlockType::unknown, "unknown"},
}};

}  // namespace

std::optional<BlockType> blockTypeFromRawValue(std::string_view text) {
    for (const auto& [type, raw] : rawValues) {
        if (raw == text) {
            return type;
        }
    }
    return std::nullopt;
}

std::string_view rawValue(BlockType type) {
    for (const auto& [candidate, raw] : rawValues) {
        if (candidate == type) {
            return raw;
        }
    }
    return "unknown";
}

}  // namespace kestrova
