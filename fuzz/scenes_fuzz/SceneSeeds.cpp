// Writes the generated seed of scenes_fuzz into the folder named on the
// command line: the file of someone who keeps many windows open, each on a
// page of its own, written by the store itself.

#include "platform/kits/scenes/SceneStore.hpp"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: scenes_fuzz_write_seeds FOLDER\n");
        return 2;
    }
    std::vector<ui::StoredScene> scenes;
    for (int i = 0; i < 200; ++i) {
        char identity[40];
        std::snprintf(identity, sizeof identity, "6F9619FF-8B86-D011-B42D-%012X", 0xC04FD430 + i);
        std::string url = "https://kestrova.example/ann/journal-" + std::to_string(i % 37);
        if (i % 3 == 0) {
            url += "?tab=entries&page=" + std::to_string(i) + "#entry-" + std::to_string(1000 + i);
        }
        if (i % 7 == 0) {
            url = "https://beta.kestrova.example/search?q=caf%C3%A9%20%E2%98%95%20" + std::to_string(i);
        }
        scenes.push_back(ui::StoredScene{identity, {{"url", url}}});
    }
    ui::SceneStore(std::string(argv[1]) + "/many-windows").save(scenes);
    return 0;
}
