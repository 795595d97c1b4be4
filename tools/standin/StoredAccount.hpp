#pragma once

#include "platform/runtime/foundation/coding/CodingForward.hpp"
#include "kestrova/model/Metric.hpp"
#include "kestrova/model/MetricData.hpp"
#include "tools/standin/StoredJournal.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin {

// One user of the stand-in with the password that signs them in, the token
// of their session (none when signed out), their settings, journals and
// metrics, and what the application registered for them.
struct StoredAccount {
    std::int64_t id = 0;
    std::string username{};
    std::string password{};
    std::optional<std::string> token{};
    std::string email{};
    bool quietMode = false;
    bool plus = false;
    std::vector<StoredJournal> journals{};
    std::vector<kestrova::Metric> metrics{};
    std::vector<kestrova::MetricData> metricData{};
    std::vector<std::string> deviceTokens{};

    [[nodiscard]] StoredJournal* journal(std::int64_t journalId);
    [[nodiscard]] const StoredJournal* journal(std::int64_t journalId) const;
    [[nodiscard]] bool hasEntry(std::int64_t entryId) const;

    static StoredAccount decode(foundation::Decoder& decoder);
    void encode(foundation::Encoder& encoder) const;
};

}  // namespace standin
