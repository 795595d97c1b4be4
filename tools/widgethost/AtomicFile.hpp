#pragma once

#include <filesystem>
#include <string_view>

namespace widgethost {

// Replaces the file with the bytes in one step: they go to a temporary file beside it, which is
// renamed over it only once it is whole. Throws std::system_error naming the file when that fails;
// the previous file stays then and no temporary file is left behind.
void writeAtomically(const std::filesystem::path& file, std::string_view bytes);

}  // namespace widgethost
