// Writes the generated seeds of extension_stream_fuzz into the folder named on
// the command line: what the host writes to the extension for a Shortcuts run
// that publishes a photo, and for a long session of journal lookups.

#include "fuzz/support/IntentSeeds.hpp"
#include "fuzz/support/SeedFile.hpp"
#include "platform/kits/intents/ExtensionMessage.hpp"
#include "platform/kits/intents/Selector.hpp"
#include "kestrova/intents/IntentJournal.hpp"
#include "kestrova/intents/OpenPublishViewIntent.hpp"

#include <cstdio>
#include <string>

namespace {

std::string request(std::int64_t id, std::string selector, std::shared_ptr<intents::Intent> intent) {
    intents::ExtensionMessage message;
    message.id = id;
    message.selector = std::move(selector);
    message.intent = std::move(intent);
    return message.line();
}

// The steps of the runner for one entry: the journal's options and default,
// each parameter resolved, then the handling.
std::string publishingRun() {
    using intents::Selector;
    const auto intent = fuzzsupport::createEntryIntent(512 << 10);
    const std::string type(intent->className());
    std::string stream = request(1, Selector::provideOptionsCollection(type, "journal"), intent);
    stream += request(2, Selector::defaultValue(type, "journal"), intent);
    std::int64_t id = 3;
    for (const char* parameter : {"journal", "notes", "isPrivate", "file"}) {
        stream += request(id++, Selector::resolve(type, parameter), intent);
    }
    stream += request(id, Selector::handle(type), intent);
    return stream;
}

std::string lookups(int count) {
    std::string stream;
    for (int i = 1; i <= count; ++i) {
        auto intent = std::make_shared<kestrova::OpenPublishViewIntent>();
        intent->setJournal(std::make_shared<kestrova::IntentJournal>(std::to_string(i), "📓 Journal " + std::to_string(i),
                                                                     std::nullopt));
        stream += request(i, intents::Selector::resolve("OpenPublishViewIntent", "journal"), intent);
        if (i % 10 == 0) {
            stream += request(i + count, intents::Selector::handle("OpenPublishViewIntent"), intent);
        }
    }
    return stream;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: extension_stream_fuzz_write_seeds FOLDER\n");
        return 2;
    }
    const bool written = fuzzsupport::writeSeed(argv[1], "publishing-run.txt", publishingRun()) &&
                         fuzzsupport::writeSeed(argv[1], "lookups.txt", lookups(2000));
    return written ? 0 : 1;
}
