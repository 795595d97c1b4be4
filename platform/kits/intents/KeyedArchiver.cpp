#include "platform/kits/intents/KeyedArchiver.hpp"

#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"
#include "platform/runtime/foundation/coding/UnkeyedEncodingContainer.hpp"
#include "platform/kits/intents/Archivable.hpp"
#include "platform/kits/intents/internal/ArchivedObjectWriter.hpp"

namespace intents {
namespace {

// Texts and numbers are objects of their own in an archive, so that a
// parameter's kind survives the trip: a flag stays a flag, a text a text.
struct ValueRef {
    const ParameterValue* value;

    void encode(foundation::Encoder& encoder) const {
        if (const auto* object = std::get_if<std::shared_ptr<Archivable>>(value)) {
            KeyedArchiver::encodeObject(encoder, **object);
            return;
        }
        auto container = encoder.container();
        if (const auto* text = std::get_if<std::string>(value)) {
            container.encode("$class", std::string_view("NSString"));
            container.encode("string", *text);
            return;
        }
        container.encode("$class", std::string_view("NSNumber"));
        const auto& number = std::get<Number>(*value).value();
        if (const auto* flag = std::get_if<bool>(&number)) {
            container.encode("bool", *flag);
        } else if (const auto* integer = std::get_if<std::int64_t>(&number)) {
            container.encode("integer", *integer);
        } else {
            container.encode("double", std::get<double>(number));
        }
    }
};

struct Document {
    const Archivable* root;

    void encode(foundation::Encoder& encoder) const {
        auto container = encoder.container();
        container.encode("$archiver", std::string_view("KeyedArchive"));
        container.encode("$version", std::int64_t{1});
        container.encode("$top", ArchivedObjectWriter{root});
    }
};

}  // namespace

foundation::Data KeyedArchiver::archivedData(const Archivable& root) {
    return foundation::JSONEncoder().encode(Document{&root});
}

void KeyedArchiver::encodeObject(foundation::Encoder& encoder, const Archivable& object) {
    auto container = encoder.container();
    container.encode("$class", object.className());
    KeyedArchiver archiver(container);
    object.encode(archiver);
}

void KeyedArchiver::encodeString(std::string_view key, const std::optional<std::string>& value) {
    container_->encodeIfPresent(key, value);
}

void KeyedArchiver::encodeInteger(std::string_view key, std::int64_t value) {
    container_->encode(key, value);
}

void KeyedArchiver::encodeBool(std::string_view key, bool value) {
    container_->encode(key, value);
}

void KeyedArchiver::encodeData(std::string_view key, const foundation::Data& value) {
    container_->encode(key, value);
}

void KeyedArchiver::encodeObject(std::string_view key, const std::shared_ptr<const Archivable>& object) {
    if (object) {
        container_->encode(key, ArchivedObjectWriter{object.get()});
    }
}

void KeyedArchiver::encodeObjects(std::string_view key, const std::vector<std::shared_ptr<const Archivable>>& objects) {
    std::vector<ArchivedObjectWriter> refs;
    refs.reserve(objects.size());
    for (const auto& object : objects) {
        refs.push_back(ArchivedObjectWriter{object.get()});
    }
    container_->encode(key, refs);
}

void KeyedArchiver::encodeValue(std::string_view key, const ParameterValue& value) {
    container_->encode(key, ValueRef{&value});
}

void KeyedArchiver::encodeValues(std::string_view key, const std::vector<ParameterValue>& values) {
    std::vector<ValueRef> refs;
    refs.reserve(values.size());
    for (const auto& value : values) {
        refs.push_back(ValueRef{&value});
    }
    container_->encode(key, refs);
}

}  // namespace intents
