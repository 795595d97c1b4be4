// Reads arbitrary bytes as a keyed archive, as the application reads a
// continued activity handed to it and as the host and the extension read the
// objects inside their messages, with the intent schema's classes known. Besides
// never crashing: an archive is read whole or refused with an ArchiveError;
// what was read archives again, the archive written reads back, and writing
// that again gives the same bytes.

#include "fuzz/support/FuzzFailure.hpp"
#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/kits/intents/ArchiveError.hpp"
#include "platform/kits/intents/Archivable.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"
#include "platform/kits/intents/UserActivity.hpp"
#include "kestrova/intents/IntentSchema.hpp"

#include <cstdint>
#include <memory>
#include <string_view>

namespace {

std::string_view input;

void check(bool holds, std::string_view what) {
    if (!holds) {
        fuzzsupport::fail("archive_fuzz", what, input);
    }
}

std::shared_ptr<intents::Archivable> readBack(const foundation::Data& archive) {
    try {
        return intents::KeyedUnarchiver::unarchivedRoot(archive);
    } catch (const intents::ArchiveError&) {
        fuzzsupport::fail("archive_fuzz", "an archive the archiver wrote cannot be read back", input);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    kestrova::registerIntentSchema();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    input = std::string_view(reinterpret_cast<const char*>(bytes), size);
    const foundation::Data archive(bytes, size);
    std::shared_ptr<intents::Archivable> root;
    try {
        root = intents::KeyedUnarchiver::unarchivedRoot(archive);
    } catch (const intents::ArchiveError&) {
        return 0;
    }
    check(root != nullptr, "an archive reads as no object");
    const auto written = intents::KeyedArchiver::archivedData(*root);
    const auto again = readBack(written);
    check(again->className() == root->className(), "an archive reads back as an object of another class");
    check(intents::KeyedArchiver::archivedData(*again) == written, "an archive read back writes other bytes");

    // What the application does with a continued activity: the same archive,
    // asked for the one class it takes.
    try {
        static_cast<void>(intents::KeyedUnarchiver::unarchivedObject<intents::UserActivity>(archive));
        check(root->className() == "NSUserActivity", "an archive of another class reads as a user activity");
    } catch (const intents::ArchiveError&) {
        check(root->className() != "NSUserActivity", "a user activity's archive is refused as one");
    }
    return 0;
}
