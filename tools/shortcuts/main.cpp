#include "tools/shortcuts/ShortcutsRunner.hpp"

#include <cstdlib>
#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const char* extension = std::getenv("KESTROVA_INTENTS_EXTENSION");
    return shortcuts_tool::ShortcutsRunner(std::cout, std::cerr, extension ? extension : KESTROVA_ORVANE_PATH)
        .run(arguments);
}
