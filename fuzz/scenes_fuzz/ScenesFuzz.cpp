// Reads arbitrary bytes as the file of the application's open windows, as a
// launch restores them. Besides never crashing: whatever windows a file gives
// are saved and restored as they were, and saving them again writes the same
// file.

#include "fuzz/support/FuzzFailure.hpp"
#include "fuzz/support/ProcessScratchDirectory.hpp"
#include "platform/kits/scenes/SceneStore.hpp"

#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string_view input;

void check(bool holds, std::string_view what) {
    if (!holds) {
        fuzzsupport::fail("scenes_fuzz", what, input);
    }
}

std::string contents(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A damaged file is said on standard error at every load; that is the
    // store's promise, and at the fuzzer's pace it would drown its own output.
    std::cerr.rdbuf(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    input = std::string_view(reinterpret_cast<const char*>(bytes), size);
    const auto& folder = fuzzsupport::scratchDirectory();
    const auto file = folder / "scenes";
    {
        std::ofstream stream(file, std::ios::binary | std::ios::trunc);
        stream.write(input.data(), static_cast<std::streamsize>(input.size()));
    }
    const auto scenes = ui::SceneStore(file).load();

    const ui::SceneStore saved(folder / "saved");
    saved.save(scenes);
    const std::string written = contents(folder / "saved");
    check(saved.load() == scenes, "the windows saved do not come back as they were");
    saved.save(saved.load());
    check(contents(folder / "saved") == written, "the windows restored and saved again write another file");
    return 0;
}
