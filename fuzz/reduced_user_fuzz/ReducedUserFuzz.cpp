// Reads arbitrary bytes as the intents extension reads the cached user and the
// reply of a settings update: as its own reduced user, with the default
// decoder. Besides never crashing: what decodes encodes, decodes again to an
// equal user, and encodes again to the same bytes; and where the application's
// full user decodes from the same bytes too, both see the same user and the
// same journals, so the extension offers what the application cached.

#include "fuzz/support/FuzzFailure.hpp"
#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "kestrova/model/User.hpp"
#include "orvane/ReducedUser.hpp"

#include <cstdint>
#include <optional>
#include <string_view>

namespace {

std::string_view input;

void check(bool holds, std::string_view what) {
    if (!holds) {
        fuzzsupport::fail("reduced_user_fuzz", what, input);
    }
}

template <typename Record>
std::optional<Record> decoded(std::string_view json) {
    try {
        return foundation::JSONDecoder().decode<Record>(json);
    } catch (const foundation::DecodingError&) {
        return std::nullopt;
    } catch (const foundation::JSONDecoder::DateError&) {
        return std::nullopt;
    }
}

void checkSameJournals(const orvane::ReducedUser& reduced, const kestrova::User& full) {
    check(reduced.id == full.id, "the extension reads another user than the application");
    check(reduced.journals.has_value() == (full.journals.get() != nullptr),
          "the extension and the application disagree on whether the user has journals");
    if (!reduced.journals) {
        return;
    }
    const auto& journals = *full.journals;
    check(reduced.journals->size() == journals.size(), "the extension reads another number of journals");
    for (std::size_t i = 0; i < journals.size(); ++i) {
        const auto& mine = (*reduced.journals)[i];
        const auto& theirs = journals[i];
        check(mine.id == theirs.id && mine.title == theirs.title.str() && theirs.isDaily == mine.isDaily &&
                  (mine.iconEmoji.has_value() == theirs.iconEmoji.has_value()) &&
                  (!mine.iconEmoji || *mine.iconEmoji == theirs.iconEmoji->str()),
              "the extension reads a journal otherwise than the application");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    input = std::string_view(reinterpret_cast<const char*>(bytes), size);
    const auto reduced = decoded<orvane::ReducedUser>(input);
    if (!reduced) {
        return 0;
    }
    const foundation::Data encoded = foundation::JSONEncoder().encode(*reduced);
    const auto again = decoded<orvane::ReducedUser>(encoded.view());
    check(again == reduced, "the encoded user decodes to another user");
    check(foundation::JSONEncoder().encode(*again) == encoded, "the user decoded again encodes to other bytes");
    if (const auto full = decoded<kestrova::User>(input)) {
        checkSameJournals(*reduced, *full);
    }
    return 0;
}
