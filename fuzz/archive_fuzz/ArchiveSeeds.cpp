// Writes the generated seeds of archive_fuzz into the folder named on the
// command line: the largest archives that cross processes, a heavy user's
// journal options and an entry with a photo attached.

#include "fuzz/support/IntentSeeds.hpp"
#include "fuzz/support/SeedFile.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: archive_fuzz_write_seeds FOLDER\n");
        return 2;
    }
    constexpr std::size_t photoSize = 1 << 20;
    const bool written =
        fuzzsupport::writeSeed(argv[1], "journal-options.json",
                               intents::KeyedArchiver::archivedData(*fuzzsupport::journalOptions(300)).view()) &&
        fuzzsupport::writeSeed(argv[1], "create-entry-with-photo.json",
                               intents::KeyedArchiver::archivedData(*fuzzsupport::createEntryIntent(photoSize)).view());
    return written ? 0 : 1;
}
