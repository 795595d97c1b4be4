#include "platform/kits/intents/ExtensionMessage.hpp"

#include "platform/runtime/foundation/coding/Decoder.hpp"
#include "platform/runtime/foundation/coding/Encoder.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"
#include "platform/kits/intents/KeyedArchiver.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"
#include "platform/kits/intents/internal/ArchivedObjectReader.hpp"
#include "platform/kits/intents/internal/ArchivedObjectWriter.hpp"

namespace intents {
namespace {

struct Body {
    const ExtensionMessage* message;

    void encode(foundation::Encoder& encoder) const {
        auto container = encoder.container();
        container.encode("id", message->id);
        if (!message->selector.empty()) {
            container.encode("selector", message->selector);
        }
        if (message->intent) {
            container.encode("intent", ArchivedObjectWriter{message->intent.get()});
        }
        container.encode("responds", message->responds);
        if (message->answer.object) {
            container.encode("object", ArchivedObjectWriter{message->answer.object.get()});
        }
        container.encodeIfPresent("error", message->answer.error);
    }
};

struct Read {
    ExtensionMessage message;

    static Read decode(foundation::Decoder& decoder) {
        const auto container = decoder.container();
        Read read;
        read.message.id = container.decode<std::int64_t>("id");
        read.message.selector = container.decodeIfPresent<std::string>("selector").value_or("");
        if (const auto intent = container.decodeIfPresent<ArchivedObjectReader>("intent")) {
            read.message.intent = KeyedUnarchiver::checkedCast<Intent>(intent->object);
        }
        read.message.responds = container.decodeIfPresent<bool>("responds").value_or(false);
        if (const auto object = container.decodeIfPresent<ArchivedObjectReader>("object")) {
            read.message.answer.object = object->object;
        }
        read.message.answer.error = container.decodeIfPresent<std::string>("error");
        return read;
    }
};

}  // namespace

std::string ExtensionMessage::line() const {
    const auto json = foundation::JSONEncoder().encode(Body{this});
    std::string text(1, marker);
    text += json.view();
    text += '\n';
    return text;
}

ExtensionMessage ExtensionMessage::parse(std::string_view json) {
    try {
        return foundation::JSONDecoder().decode<Read>(json).message;
    } catch (const ArchiveError&) {
        throw;
    } catch (const std::exception& error) {
        throw ArchiveError(std::string("the message cannot be read: ") + error.what());
    }
}

}  // namespace intents
