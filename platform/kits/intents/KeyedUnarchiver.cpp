#include "platform/kits/intents/KeyedUnarchiver.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/kits/intents/Archivable.hpp"
#include "platform/kits/intents/ClassRegistry.hpp"
#include "platform/kits/intents/internal/ArchivedObjectReader.hpp"

namespace intents {

namespace {

// Lets the foundation decoder read archived values (texts, numbers and
// objects) as the elements of lists and the values of keys.
struct ValueReader {
    ParameterValue value;

    static ValueReader decode(foundation::Decoder& decoder) {
        const auto container = decoder.container();
        const auto className = container.decode<std::string>("$class");
        if (className == "NSString") {
            return ValueReader{container.decode<std::string>("string")};
        }
        if (className == "NSNumber") {
            if (container.contains("bool")) {
                return ValueReader{Number(container.decode<bool>("bool"))};
            }
            if (container.contains("integer")) {
                return ValueReader{Number(container.decode<std::int64_t>("integer"))};
            }
            return ValueReader{Number(container.decode<double>("double"))};
        }
        return ValueReader{KeyedUnarchiver::decodeObject(decoder)};
    }
};

struct Document {
    std::shared_ptr<Archivable> root;

    static Document decode(foundation::Decoder& decoder) {
        const auto container = decoder.container();
        if (container.decodeIfPresent<std::string>("$archiver") != "KeyedArchive") {
            throw ArchiveError("the data is no keyed archive");
        }
        return Document{container.decode<ArchivedObjectReader>("$top").object};
    }
};

}  // namespace

std::shared_ptr<Archivable> KeyedUnarchiver::unarchivedRoot(const foundation::Data& archive) {
    try {
        return foundation::JSONDecoder().decode<Document>(archive).root;
    } catch (const ArchiveError&) {
        throw;
    } catch (const std::exception& error) {
        throw ArchiveError(std::string("the archive cannot be read: ") + error.what());
    }
}

std::shared_ptr<Archivable> KeyedUnarchiver::decodeObject(foundation::Decoder& decoder) {
    const auto container = decoder.container();
    const auto className = container.decode<std::string>("$class");
    const auto factory = ClassRegistry::shared().factory(className);
    if (!factory) {
        throw ArchiveError("the archive holds an object of the class \"" + className +
                           "\", which this process does not know; it is refused");
    }
    const KeyedUnarchiver unarchiver(container);
    return factory(unarchiver);
}

void KeyedUnarchiver::throwWrongClass(const Archivable& object) {
    throw ArchiveError("the archive holds an object of the class \"" + std::string(object.className()) +
                       "\" where another class was expected");
}

bool KeyedUnarchiver::contains(std::string_view key) const {
    return container_->contains(key);
}

std::optional<std::string> KeyedUnarchiver::decodeString(std::string_view key) const {
    return container_->decodeIfPresent<std::string>(key);
}

std::int64_t KeyedUnarchiver::decodeInteger(std::string_view key) const {
    return container_->decodeIfPresent<std::int64_t>(key).value_or(0);
}

bool KeyedUnarchiver::decodeBool(std::string_view key) const {
    return container_->decodeIfPresent<bool>(key).value_or(false);
}

std::optional<foundation::Data> KeyedUnarchiver::decodeData(std::string_view key) const {
    return container_->decodeIfPresent<foundation::Data>(key);
}

std::shared_ptr<Archivable> KeyedUnarchiver::decodeObject(std::string_view key) const {
    const auto reader = container_->decodeIfPresent<ArchivedObjectReader>(key);
    return reader ? reader->object : nullptr;
}

std::vector<std::shared_ptr<Archivable>> KeyedUnarchiver::decodeObjects(std::string_view key) const {
    std::vector<std::shared_ptr<Archivable>> objects;
    for (auto& reader : container_->decodeIfPresent<std::vector<ArchivedObjectReader>>(key).value_or(
             std::vector<ArchivedObjectReader>{})) {
        objects.push_back(std::move(reader.object));
    }
    return objects;
}

std::optional<ParameterValue> KeyedUnarchiver::decodeValue(std::string_view key) const {
    auto reader = container_->decodeIfPresent<ValueReader>(key);
    if (!reader) {
        return std::nullopt;
    }
    return std::move(reader->value);
}

std::vector<ParameterValue> KeyedUnarchiver::decodeValues(std::string_view key) const {
    std::vector<ParameterValue> values;
    for (auto& reader :
         container_->decodeIfPresent<std::vector<ValueReader>>(key).value_or(std::vector<ValueReader>{})) {
        values.push_back(std::move(reader.value));
    }
    return values;
}

}  // namespace intents
