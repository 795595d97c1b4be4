#include "tools/defaults/DefaultsTool.hpp"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return defaults_tool::DefaultsTool(std::cout, std::cerr).run(arguments);
}
