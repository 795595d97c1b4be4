#include "tools/standin/StoredAccount.hpp"

#include "platform/runtime/foundation/coding/RecordFields.hpp"

#include <algorithm>

namespace standin {

StoredJournal* StoredAccount::journal(std::int64_t journalId) {
    const auto found = std::ranges::find(journals, journalId, &StoredJournal::id);
    return found == journals.end() ? nullptr : &*found;
}

const StoredJournal* StoredAccount::journal(std::int64_t journalId) const {
    return const_cast<StoredAccount*>(this)->journal(journalId);
}

bool StoredAccount::hasEntry(std::int64_t entryId) const {
    return std::ranges::any_of(journals, [&](const StoredJournal& journal) {
        return std::ranges::find(journal.entries, entryId, &StoredEntry::id) != journal.entries.end();
    });
}

namespace {

using foundation::Optional;
using foundation::Required;

using Fields = foundation::RecordFields<
    Required<"id", &StoredAccount::id>,
    Required<"username", &StoredAccount::username>,
    Required<"password", &StoredAccount::password>,
    Optional<"token", &StoredAccount::token>,
    Required<"email", &StoredAccount::email>,
    Required<"quietMode", &StoredAccount::quietMode>,
    Required<"plus", &StoredAccount::plus>,
    Required<"journals", &StoredAccount::journals>,
    Required<"metrics", &StoredAccount::metrics>,
    Required<"metricData", &StoredAccount::metricData>,
    Required<"deviceTokens", &StoredAccount::deviceTokens>>;

}  // namespace

StoredAccount StoredAccount::decode(foundation::Decoder& decoder) { return Fields::decode(decoder); }

void StoredAccount::encode(foundation::Encoder& encoder) const { Fields::encode(encoder, *this); }

}  // namespace standin
