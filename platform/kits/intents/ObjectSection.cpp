#include "platform/kits/intents/ObjectSection.hpp"

#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"

namespace intents {

ObjectSection::ObjectSection(std::optional<std::string> title, std::vector<std::shared_ptr<Object>> items)
    : title_(std::move(title)), items_(std::move(items)) {}

ObjectSection::ObjectSection(const KeyedUnarchiver& coder) : title_(coder.decodeString("title")) {
    for (auto& item : coder.decodeObjects("items")) {
        items_.push_back(KeyedUnarchiver::checkedCast<Object>(std::move(item)));
    }
}

void ObjectSection::encode(KeyedArchiver& coder) const {
    coder.encodeString("title", title_);
    coder.encodeObjects("items", {items_.begin(), items_.end()});
}

}  // namespace intents
