#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/kits/intents/ArchiveError.hpp"
#include "platform/kits/intents/ParameterValue.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {
class Decoder;
class KeyedDecodingContainer;
}  // namespace foundation

namespace intents {

class Archivable;

// Reads back what KeyedArchiver wrote, securely: every object is made by the
// factory its class name is registered under (ClassRegistry), and a name with
// no factory fails the whole archive with an ArchiveError naming the class.
// Any other flaw (not JSON, a value of the wrong kind) is an ArchiveError too;
// no partly decoded graph comes out.
class KeyedUnarchiver {
public:
    // The archive's top object, which must be a T.
    template <typename T>
    static std::shared_ptr<T> unarchivedObject(const foundation::Data& archive) {
        return checkedCast<T>(unarchivedRoot(archive));
    }
    static std::shared_ptr<Archivable> unarchivedRoot(const foundation::Data& archive);
    // The object that KeyedArchiver::encodeObject wrote as the decoder's value.
    static std::shared_ptr<Archivable> decodeObject(foundation::Decoder& decoder);

    [[nodiscard]] bool contains(std::string_view key) const;
    [[nodiscard]] std::optional<std::string> decodeString(std::string_view key) const;
    // 0 and false when absent.
    [[nodiscard]] std::int64_t decodeInteger(std::string_view key) const;
    [[nodiscard]] bool decodeBool(std::string_view key) const;
    [[nodiscard]] std::optional<foundation::Data> decodeData(std::string_view key) const;
    // A null pointer when absent.
    [[nodiscard]] std::shared_ptr<Archivable> decodeObject(std::string_view key) const;
    [[nodiscard]] std::vector<std::shared_ptr<Archivable>> decodeObjects(std::string_view key) const;
    [[nodiscard]] std::optional<ParameterValue> decodeValue(std::string_view key) const;
    [[nodiscard]] std::vector<ParameterValue> decodeValues(std::string_view key) const;

    template <typename T>
    [[nodiscard]] std::shared_ptr<T> decodeObject(std::string_view key) const {
        auto object = decodeObject(key);
        return object ? checkedCast<T>(std::move(object)) : nullptr;
    }

    template <typename T>
    static std::shared_ptr<T> checkedCast(std::shared_ptr<Archivable> object) {
        auto typed = std::dynamic_pointer_cast<T>(object);
        if (!typed) {
            throwWrongClass(*object);
        }
        return typed;
    }

private:
    friend struct ArchivedObjectReader;

    explicit KeyedUnarchiver(const foundation::KeyedDecodingContainer& container) : container_(&container) {}
    [[noreturn]] static void throwWrongClass(const Archivable& object);

    const foundation::KeyedDecodingContainer* container_;
};

}  // namespace intents
