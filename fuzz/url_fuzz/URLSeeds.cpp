// Writes the generated seeds of url_fuzz and link_fuzz into the folder named on
// the command line: a search page whose query holds the many filters a page can
// put there, and the same page wrapped in the application's own link, which
// encodes it a second time.

#include "fuzz/support/SeedFile.hpp"
#include "platform/runtime/foundation/core/URLComponents.hpp"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: url_fuzz_write_seeds FOLDER\n");
        return 2;
    }
    auto page = *foundation::URLComponents::fromString("https://kestrova.example/ann/search#results");
    std::vector<foundation::URLQueryItem> filters;
    for (int i = 0; i < 600; ++i) {
        filters.push_back({"journal[]", std::to_string(1000 + i)});
        if (i % 10 == 0) {
            filters.push_back({"q", "café & ☕ = 100% \"Lauf\" +" + std::to_string(i)});
        }
    }
    page.setQueryItems(filters);
    const std::string pageText = page.string().value();

    auto link = *foundation::URLComponents::fromString("kestrova:///open");
    link.setQueryItems(std::vector<foundation::URLQueryItem>{{"url", pageText}});
    const bool written = fuzzsupport::writeSeed(argv[1], "long-search-page.txt", pageText) &&
                         fuzzsupport::writeSeed(argv[1], "long-open-link.txt", link.string().value());
    return written ? 0 : 1;
}
