#include "kestrova/actions/IntentEntryAppEntity.hpp"

#include <stdexcept>

namespace kestrova {
namespace {

constexpr std::string_view idKey = "id";
constexpr std::string_view journalIdKey = "journalId";

}  // namespace

IntentEntryAppEntity::IntentEntryAppEntity()
    : TransientAppEntity({{std::string(idKey), "ID"}, {std::string(journalIdKey), "Journal ID"}}) {
    setProperty(idKey, std::int64_t{0});
}

IntentEntryAppEntity::IntentEntryAppEntity(std::int64_t id, std::int64_t journalId) : IntentEntryAppEntity() {
    setProperty(idKey, id);
    setProperty(journalIdKey, journalId);
}

std::int64_t IntentEntryAppEntity::id() const {
    return property<std::int64_t>(idKey).value_or(0);
}

std::optional<std::int64_t> IntentEntryAppEntity::journalId() const {
    return property<std::int64_t>(journalIdKey);
}

appintents::EntityValue IntentEntryAppEntity::entityValue() const {
    return {std::string(typeName), identifier(), displayRepresentation(), properties()};
}

IntentEntryAppEntity IntentEntryAppEntity::fromValue(const appintents::EntityValue& value) {
    if (value.typeName != typeName) {
        throw std::invalid_argument("a " + value.typeName + " is no entry");
    }
    const auto id = value.property<std::int64_t>(idKey);
    if (!id) {
        throw std::invalid_argument("the entry " + value.identifier + " comes without its id");
    }
    IntentEntryAppEntity entity;
    entity.setProperty(idKey, *id);
    if (const auto journalId = value.property<std::int64_t>(journalIdKey)) {
        entity.setProperty(journalIdKey, *journalId);
    }
    return entity;
}

}  // namespace kestrova
