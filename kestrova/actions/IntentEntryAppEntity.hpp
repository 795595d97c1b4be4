#pragma once

#include "platform/kits/appintents/AppEntity.hpp"
#include "platform/kits/appintents/DisplayRepresentation.hpp"
#include "platform/kits/appintents/IntentValue.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// A published entry handed from one action to the next ("Entry #57"): its id and its journal's, as
// the properties "ID" and "Journal ID" a later step picks from. Nothing looks it up.
class IntentEntryAppEntity final : public appintents::TransientAppEntity {
public:
    static constexpr std::string_view typeName = "IntentEntryAppEntity";

    // The id 0, and no journal.
    IntentEntryAppEntity();
    IntentEntryAppEntity(std::int64_t id, std::int64_t journalId);

    [[nodiscard]] std::int64_t id() const;
    [[nodiscard]] std::optional<std::int64_t> journalId() const;

    static std::string typeDisplayName() { return "Entry"; }
    [[nodiscard]] std::string identifier() const { return std::to_string(id()); }
    [[nodiscard]] appintents::DisplayRepresentation displayRepresentation() const {
        return {"Entry #" + identifier(), {}};
    }
    [[nodiscard]] appintents::EntityValue entityValue() const;
    // Throws std::invalid_argument for a value of another type or one without an integer id.
    static IntentEntryAppEntity fromValue(const appintents::EntityValue& value);
};

}  // namespace kestrova
