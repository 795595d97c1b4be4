#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/kits/intents/ParameterValue.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {
class Encoder;
class KeyedEncodingContainer;
}  // namespace foundation

namespace intents {

class Archivable;

// Writes an object graph as a keyed archive: one JSON document whose every
// object carries its bare class name under "$class" beside its own keys.
//
//     {"$archiver":"KeyedArchive","$version":1,"$top":{"$class":"IntentJournal","identifier":"12",...}}
//
// An object's encode() writes its keys through the archiver it is handed.
// Absent values are left out, never written as null.
class KeyedArchiver {
public:
    static foundation::Data archivedData(const Archivable& root);
    // Writes the object, with its class name, as the encoder's value: for
    // messages that carry archived objects inside a document of their own.
    static void encodeObject(foundation::Encoder& encoder, const Archivable& object);

    void encodeString(std::string_view key, const std::optional<std::string>& value);
    void encodeInteger(std::string_view key, std::int64_t value);
    void encodeBool(std::string_view key, bool value);
    void encodeData(std::string_view key, const foundation::Data& value);
    void encodeObject(std::string_view key, const std::shared_ptr<const Archivable>& object);
    void encodeObjects(std::string_view key, const std::vector<std::shared_ptr<const Archivable>>& objects);
    void encodeValue(std::string_view key, const ParameterValue& value);
    void encodeValues(std::string_view key, const std::vector<ParameterValue>& values);

private:
    explicit KeyedArchiver(foundation::KeyedEncodingContainer& container) : container_(&container) {}

    foundation::KeyedEncodingContainer* container_;
};

}  // namespace intents
