#include "platform/kits/intents/ObjectCollection.hpp"

#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"

namespace intents {

ObjectCollection::ObjectCollection(std::vector<std::shared_ptr<ObjectSection>> sections)
    : sections_(std::move(sections)) {}

ObjectCollection::ObjectCollection(const KeyedUnarchiver& coder) {
    for (auto& section : coder.decodeObjects("sections")) {
        sections_.push_back(KeyedUnarchiver::checkedCast<ObjectSection>(std::move(section)));
    }
}

void ObjectCollection::encode(KeyedArchiver& coder) const {
    coder.encodeObjects("sections", {sections_.begin(), sections_.end()});
}

}  // namespace intents
