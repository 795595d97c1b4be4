// Prints where the running program finds a resource: started from an
// installed prefix, it must be that prefix's share folder.
#include "platform/runtime/foundation/core/Bundle.hpp"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bundle_probe NAME EXTENSION\n");
        return 2;
    }
    const auto url = foundation::Bundle::main().urlForResource(argv[1], argv[2]);
    std::printf("%s\n", url ? url->path().c_str() : "none");
    return url ? 0 : 1;
}
