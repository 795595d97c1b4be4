// Writes the generated seeds of json_fuzz and reduced_user_fuzz into the
// folder named on the command line: users of a realistic size, up to the few
// megabytes of a very active account's cache, in the cached form (dates as
// numbers) and as the API sends them (dates as the server's text). They are
// generated at build time rather than kept in the tree, since the largest are
// megabytes; the same build always writes the same bytes.

#include "bench/json_bench/HeavyUser.hpp"
#include "bench/json_bench/ServerDates.hpp"
#include "fuzz/support/SeedFile.hpp"
#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"

#include <cstdio>
#include <string>

namespace {

struct Seed {
    const char* name;
    int journalCount;
    int entriesPerJournal;
};

// From a small account to the heavy user of the JSON benchmark (about 5 MB).
constexpr Seed seeds[] = {
    {"small-user", 3, 2},
    {"medium-user", 30, 4},
    {"heavy-user", 300, 9},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: json_fuzz_write_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const Seed& seed : seeds) {
        const foundation::Data cached =
            foundation::JSONEncoder().encode(bench::makeHeavyUser(seed.journalCount, seed.entriesPerJournal));
        const std::string name = seed.name;
        if (!fuzzsupport::writeSeed(folder, name + ".json", cached.view()) ||
            !fuzzsupport::writeSeed(folder, name + "-api.json", bench::withServerDates(cached.view()).view())) {
            return 1;
        }
    }
    return 0;
}
