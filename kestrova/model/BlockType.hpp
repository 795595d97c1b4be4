#pragma once

#include <optional>
#include <string_view>

namespace kestrova {

// The kind of an entry's block.
enum class BlockType { audio, image, text, video, file, unknown };

// Exact, case-sensitive match of the six raw texts; anything else gives no value.
std::optional<BlockType> blockTypeFromRawValue(std::string_view rawValue);
std::string_view rawValue(BlockType type);

// Decoding is lenient where construction is not: a kind the service adds
// later reads as `unknown` rather than failing the whole entry.
inline BlockType decodedBlockType(std::string_view rawValue) {
    return blockTypeFromRawValue(rawValue).value_or(BlockType::unknown);
}

}  // namespace kestrova
