#include "tools/defaults/DefaultsTool.hpp"

#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    // Standard input then reads the file descriptor itself, and a failed read
    // (EIO, a directory) shows as an error instead of an early end.
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return defaults_tool::DefaultsTool(std::cin, std::cout, std::cerr).run(arguments);
}
