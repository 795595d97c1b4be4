#include "platform/kits/appintents/AppEntity.hpp"

#include <algorithm>
#include <stdexcept>

namespace appintents {

TransientAppEntity::TransientAppEntity(std::vector<std::pair<std::string, std::string>> titles) {
    for (auto& [key, title] : titles) {
        properties_.push_back({std::move(key), std::move(title), std::monostate{}});
    }
}

void TransientAppEntity::setProperty(std::string_view key, EntityProperty::Value value) {
    const auto found = std::ranges::find(properties_, key, &EntityProperty::key);
    if (found == properties_.end()) {
        throw std::logic_error("no property " + std::string(key));
    }
    found->value = std::move(value);
}

}  // namespace appintents
