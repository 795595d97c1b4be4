// Writes the generated seeds of intent_wire_fuzz into the folder named on the command line, as the
// application and the runner write them: the list of the application's actions, the values of a
// Create Entry run with a file, its result, and the journals suggested for it.

#include "fuzz/support/SeedFile.hpp"
#include "kestrova/actions/Actions.hpp"
#include "platform/kits/appintents/IntentWire.hpp"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: intent_wire_fuzz_write_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    appintents::IntentCatalogue catalogue;
    kestrova::registerActions(catalogue);

    const appintents::EntityValue journal{"IntentJournalAppEntity", "7", {"🏃 Workout", std::nullopt}, {}};
    std::string photo(2048, '\0');
    for (std::size_t i = 0; i < photo.size(); ++i) {
        photo[i] = static_cast<char>(i * 31);
    }
    const appintents::IntentValues values{
        {"journal", journal},
        {"notes", std::string("Ran 5 km along the river, \"fast\"\n")},
        {"isPrivate", false},
        {"file", appintents::IntentFile{foundation::Data(photo), "photo.jpg", appintents::UTType("public.jpeg")}}};
    const appintents::IntentResult result{appintents::EntityValue{
        "IntentEntryAppEntity", "345", {"Entry #345", std::nullopt},
        {{"id", "ID", std::int64_t{345}}, {"journalId", "Journal ID", std::int64_t{7}}}}};
    const appintents::EntityCollection suggested{{"Today", {journal}}, {"Not Today", {}}};

    const bool written = fuzzsupport::writeSeed(folder, "actions.json", appintents::toWire(catalogue.intents())) &&
                         fuzzsupport::writeSeed(folder, "create-entry-values.json", appintents::toWire(values)) &&
                         fuzzsupport::writeSeed(folder, "entry-result.json", appintents::toWire(result)) &&
                         fuzzsupport::writeSeed(folder, "suggested-journals.json", appintents::toWire(suggested));
    return written ? 0 : 1;
}
