#include "tools/standin/StoredAccount.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

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

StoredAccount StoredAccount::decode(foundation::Decoder& decoder) {
    const auto c = decoder.container();
    return {.id = c.decode<std::int64_t>("id"),
            .username = c.decode<std::string>("username"),
            .password = c.decode<std::string>("password"),
            .token = c.decodeIfPresent<std::string>("token"),
            .email = c.decode<std::string>("email"),
            .quietMode = c.decode<bool>("quietMode"),
            .plus = c.decode<bool>("plus"),
            .journals = c.decode<std::vector<StoredJournal>>("journals"),
            .metrics = c.decode<std::vector<kestrova::Metric>>("metrics"),
            .metricData = c.decode<std::vector<kestrova::MetricData>>("metricData"),
            .deviceTokens = c.decode<std::vector<std::string>>("deviceTokens")};
}

void StoredAccount::encode(foundation::Encoder& encoder) const {
    auto c = encoder.container();
    c.encode("id", id);
    c.encode("username", username);
    c.encode("password", password);
    c.encodeIfPresent("token", token);
    c.encode("email", email);
    c.encode("quietMode", quietMode);
    c.encode("plus", plus);
    c.encode("journals", journals);
    c.encode("metrics", metrics);
    c.encode("metricData", metricData);
    c.encode("deviceTokens", deviceTokens);
}

}  // namespace standin
