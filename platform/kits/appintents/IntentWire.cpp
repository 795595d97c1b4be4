#include "platform/kits/appintents/IntentWire.hpp"

#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/EncodingError.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"

#include <algorithm>
#include <array>
#include <type_traits>
#include <utility>
#include <vector>

namespace appintents {
namespace {

using foundation::Decoder;
using foundation::Encoder;
using foundation::KeyedDecodingContainer;
using foundation::KeyedEncodingContainer;

[[noreturn]] void corrupted(const foundation::CodingPath& path, std::string what) {
    throw foundation::DecodingError(foundation::DecodingError::Kind::dataCorrupted, path, std::move(what));
}

constexpr std::array<std::pair<ValueKind, std::string_view>, 5> kindNames{{
    {ValueKind::boolean, "boolean"},
    {ValueKind::number, "number"},
    {ValueKind::text, "text"},
    {ValueKind::entity, "entity"},
    {ValueKind::file, "file"},
}};

std::string_view kindName(ValueKind kind) {
    return std::ranges::find(kindNames, kind, &std::pair<ValueKind, std::string_view>::first)->second;
}

ValueKind kindNamed(const KeyedDecodingContainer& c) {
    const auto name = c.decode<std::string>("kind");
    const auto found = std::ranges::find(kindNames, name, &std::pair<ValueKind, std::string_view>::second);
    if (found == kindNames.end()) {
        corrupted(c.codingPath(), "no kind of value is called \"" + name + "\"");
    }
    return found->first;
}

// Each record below holds one value of the framework and reads or writes it as JSON.

// A list of values of the framework, each in its record, and back.
template <typename Record, typename Value>
std::vector<Record> wrapped(const std::vector<Value>& values) {
    std::vector<Record> records;
    records.reserve(values.size());
    for (const auto& each : values) {
        records.push_back({each});
    }
    return records;
}
template <auto held, typename Record>
auto unwrapped(std::vector<Record> records) {
    std::vector<std::remove_cvref_t<decltype(records.front().*held)>> values;
    values.reserve(records.size());
    for (auto& each : records) {
        values.push_back(std::move(each.*held));
    }
    return values;
}

struct WireDisplay {
    DisplayRepresentation display;

    static WireDisplay decode(Decoder& decoder) {
        const auto c = decoder.container();
        return {{c.decode<std::string>("title"), c.decodeIfPresent<std::string>("subtitle")}};
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("title", display.title);
        c.encodeIfPresent("subtitle", display.subtitle);
    }
};

// A property's value under the key of its kind, or no such key for a property without one.
struct WireProperty {
    EntityProperty property;

    static WireProperty decode(Decoder& decoder) {
        const auto c = decoder.container();
        EntityProperty property{c.decode<std::string>("key"), c.decode<std::string>("title"), std::monostate{}};
        int kinds = 0;
        if (auto text = c.decodeIfPresent<std::string>("text")) {
            property.value = std::move(*text);
            ++kinds;
        }
        if (auto integer = c.decodeIfPresent<std::int64_t>("integer")) {
            property.value = *integer;
            ++kinds;
        }
        if (auto number = c.decodeIfPresent<double>("number")) {
            property.value = *number;
            ++kinds;
        }
        if (kinds > 1) {
            corrupted(c.codingPath(), "the property " + property.key + " has more than one value");
        }
        return {std::move(property)};
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("key", property.key);
        c.encode("title", property.title);
        if (const auto* text = std::get_if<std::string>(&property.value)) {
            c.encode("text", *text);
        } else if (const auto* integer = std::get_if<std::int64_t>(&property.value)) {
            c.encode("integer", *integer);
        } else if (const auto* number = std::get_if<double>(&property.value)) {
            c.encode("number", *number);
        }
    }
};

struct WireEntity {
    EntityValue entity;

    static WireEntity decode(Decoder& decoder) {
        const auto c = decoder.container();
        return {{c.decode<std::string>("type"), c.decode<std::string>("identifier"),
                 c.decode<WireDisplay>("display").display,
                 unwrapped<&WireProperty::property>(c.decode<std::vector<WireProperty>>("properties"))}};
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("type", entity.typeName);
        c.encode("identifier", entity.identifier);
        c.encode("display", WireDisplay{entity.display});
        c.encode("properties", wrapped<WireProperty>(entity.properties));
    }
};

struct WireFile {
    IntentFile file;

    static WireFile decode(Decoder& decoder) {
        const auto c = decoder.container();
        IntentFile file{c.decode<foundation::Data>("data"), c.decode<std::string>("filename"), std::nullopt};
        if (auto type = c.decodeIfPresent<std::string>("type")) {
            file.type = UTType(std::move(*type));
        }
        return {std::move(file)};
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("data", file.data);
        c.encode("filename", file.filename);
        if (file.type) {
            c.encode("type", file.type->identifier());
        }
    }
};

// A value as its kind and the value under "value", in an object that may say more of it.
IntentValue decodeValue(const KeyedDecodingContainer& c) {
    switch (kindNamed(c)) {
    case ValueKind::boolean:
        return c.decode<bool>("value");
    case ValueKind::number:
        return c.decode<double>("value");
    case ValueKind::text:
        return c.decode<std::string>("value");
    case ValueKind::entity:
        return c.decode<WireEntity>("value").entity;
    case ValueKind::file:
        return c.decode<WireFile>("value").file;
    }
    corrupted(c.codingPath(), "a value of no kind");
}

// Writes a value's kind and the value itself.
struct ValueWriter {
    KeyedEncodingContainer& c;
    void operator()(bool on) const { write(ValueKind::boolean, on); }
    void operator()(double number) const { write(ValueKind::number, number); }
    void operator()(const std::string& text) const { write(ValueKind::text, text); }
    void operator()(const EntityValue& entity) const { write(ValueKind::entity, WireEntity{entity}); }
    void operator()(const IntentFile& file) const { write(ValueKind::file, WireFile{file}); }
    template <typename T>
    void write(ValueKind kind, const T& held) const {
        c.encode("kind", kindName(kind));
        c.encode("value", held);
    }
};

void encodeValue(KeyedEncodingContainer& c, const IntentValue& value) {
    std::visit(ValueWriter{c}, value);
}

struct WireValue {
    IntentValue value;

    static WireValue decode(Decoder& decoder) { return {decodeValue(decoder.container())}; }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        encodeValue(c, value);
    }
};

struct WireNamedValue {
    std::string name;
    IntentValue value;

    static WireNamedValue decode(Decoder& decoder) {
        const auto c = decoder.container();
        return {c.decode<std::string>("name"), decodeValue(c)};
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("name", name);
        encodeValue(c, value);
    }
};

struct WireParameter {
    ParameterDescription parameter;

    static WireParameter decode(Decoder& decoder) {
        const auto c = decoder.container();
        ParameterDescription parameter;
        parameter.name = c.decode<std::string>("name");
        parameter.options.title = c.decode<std::string>("title");
        parameter.options.description = c.decodeIfPresent<std::string>("description");
        parameter.options.requestDialog = c.decodeIfPresent<std::string>("requestDialog");
        if (const auto names = c.decodeIfPresent<std::vector<std::string>>("displayNames")) {
            if (names->size() != 2) {
                corrupted(c.codingPath(), "the display names of " + parameter.name + " are not one for true and one for false");
            }
            parameter.options.displayNames = std::pair((*names)[0], (*names)[1]);
        }
        parameter.options.supportedTypeIdentifiers = c.decode<std::vector<std::string>>("supportedTypes");
        parameter.kind = kindNamed(c);
        parameter.entityType = c.decodeIfPresent<std::string>("entityType");
        if ((parameter.kind == ValueKind::entity) != parameter.entityType.has_value()) {
            corrupted(c.codingPath(), "the parameter " + parameter.name + " names an entity type if and only if it takes an entity");
        }
        parameter.isRequired = c.decode<bool>("required");
        if (auto fallback = c.decodeIfPresent<WireValue>("default")) {
            parameter.defaultValue = std::move(fallback->value);
        }
        return {std::move(parameter)};
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("name", parameter.name);
        c.encode("title", parameter.options.title);
        c.encodeIfPresent("description", parameter.options.description);
        c.encodeIfPresent("requestDialog", parameter.options.requestDialog);
        if (const auto& names = parameter.options.displayNames) {
            c.encode("displayNames", std::vector<std::string>{names->first, names->second});
        }
        c.encode("supportedTypes", parameter.options.supportedTypeIdentifiers);
        c.encode("kind", kindName(parameter.kind));
        c.encodeIfPresent("entityType", parameter.entityType);
        c.encode("required", parameter.isRequired);
        if (parameter.defaultValue) {
            c.encode("default", WireValue{*parameter.defaultValue});
        }
    }
};

// Words as {"text"}, a parameter as {"parameter"}.
struct WirePiece {
    std::variant<std::string, ParameterReference> piece;

    static WirePiece decode(Decoder& decoder) {
        const auto c = decoder.container();
        auto text = c.decodeIfPresent<std::string>("text");
        auto parameter = c.decodeIfPresent<std::string>("parameter");
        if (text.has_value() == parameter.has_value()) {
            corrupted(c.codingPath(), "a piece of a summary is either words or a parameter");
        }
        if (text) {
            return {std::move(*text)};
        }
        return {ParameterReference{std::move(*parameter)}};
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        if (const auto* words = std::get_if<std::string>(&piece)) {
            c.encode("text", *words);
        } else {
            c.encode("parameter", std::get<ParameterReference>(piece).name);
        }
    }
};

struct WireSentence {
    SummarySentence sentence;

    static WireSentence decode(Decoder& decoder) {
        const auto c = decoder.container();
        SummarySentence sentence;
        sentence.pieces = unwrapped<&WirePiece::piece>(c.decode<std::vector<WirePiece>>("pieces"));
        sentence.listed = c.decode<std::vector<std::string>>("listed");
        return {std::move(sentence)};
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("pieces", wrapped<WirePiece>(sentence.pieces));
        c.encode("listed", sentence.listed);
    }
};

struct WireSummary {
    ParameterSummary summary;

    static WireSummary decode(Decoder& decoder) {
        const auto c = decoder.container();
        ParameterSummary summary{c.decode<WireSentence>("sentence").sentence, c.decodeIfPresent<std::string>("when"), std::nullopt};
        if (auto otherwise = c.decodeIfPresent<WireSentence>("otherwise")) {
            summary.otherwise = std::move(otherwise->sentence);
        }
        if (summary.whenParameter.has_value() != summary.otherwise.has_value()) {
            corrupted(c.codingPath(), "a summary has a parameter it depends on if and only if it has a sentence otherwise");
        }
        return {std::move(summary)};
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("sentence", WireSentence{summary.sentence});
        c.encodeIfPresent("when", summary.whenParameter);
        if (summary.otherwise) {
            c.encode("otherwise", WireSentence{*summary.otherwise});
        }
    }
};

struct WireIntent {
    IntentDescription intent;

    static WireIntent decode(Decoder& decoder) {
        const auto c = decoder.container();
        IntentDescription intent;
        intent.typeName = c.decode<std::string>("typeName");
        intent.metadata.title = c.decode<std::string>("title");
        intent.metadata.description = c.decodeIfPresent<std::string>("description");
        intent.metadata.intentClassName = c.decodeIfPresent<std::string>("intentClassName");
        intent.metadata.openAppWhenRun = c.decode<bool>("openAppWhenRun");
        intent.metadata.isPredictable = c.decode<bool>("isPredictable");
        intent.parameters = unwrapped<&WireParameter::parameter>(c.decode<std::vector<WireParameter>>("parameters"));
        intent.summary = c.decode<WireSummary>("summary").summary;
        intent.predictions = c.decode<std::vector<std::vector<std::string>>>("predictions");
        return {std::move(intent)};
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("typeName", intent.typeName);
        c.encode("title", intent.metadata.title);
        c.encodeIfPresent("description", intent.metadata.description);
        c.encodeIfPresent("intentClassName", intent.metadata.intentClassName);
        c.encode("openAppWhenRun", intent.metadata.openAppWhenRun);
        c.encode("isPredictable", intent.metadata.isPredictable);
        c.encode("parameters", wrapped<WireParameter>(intent.parameters));
        c.encode("summary", WireSummary{intent.summary});
        c.encode("predictions", intent.predictions);
    }
};

struct WireSection {
    EntitySection section;

    static WireSection decode(Decoder& decoder) {
        const auto c = decoder.container();
        return {{c.decodeIfPresent<std::string>("title"),
                 unwrapped<&WireEntity::entity>(c.decode<std::vector<WireEntity>>("items"))}};
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encodeIfPresent("title", section.title);
        c.encode("items", wrapped<WireEntity>(section.items));
    }
};

struct WireResult {
    IntentResult result;

    static WireResult decode(Decoder& decoder) {
        const auto c = decoder.container();
        IntentResult result;
        if (auto value = c.decodeIfPresent<WireEntity>("value")) {
            result.value = std::move(value->entity);
        }
        return {std::move(result)};
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        if (result.value) {
            c.encode("value", WireEntity{*result.value});
        }
    }
};

// How each type travels: the record that carries it, and the way between the two.
template <typename T>
struct Carried;

// A list of values of the framework, each in its record.
template <typename Value, typename Record, Value Record::*held>
struct CarriedList {
    using Wire = std::vector<Record>;
    static Wire wrap(const std::vector<Value>& values) { return wrapped<Record>(values); }
    static std::vector<Value> unwrap(Wire records) { return unwrapped<held>(std::move(records)); }
};

template <>
struct Carried<std::vector<IntentDescription>> : CarriedList<IntentDescription, WireIntent, &WireIntent::intent> {};
template <>
struct Carried<std::vector<EntityValue>> : CarriedList<EntityValue, WireEntity, &WireEntity::entity> {};
template <>
struct Carried<std::vector<DisplayRepresentation>> : CarriedList<DisplayRepresentation, WireDisplay, &WireDisplay::display> {};
template <>
struct Carried<EntityCollection> : CarriedList<EntitySection, WireSection, &WireSection::section> {};

template <>
struct Carried<std::vector<std::string>> {
    using Wire = std::vector<std::string>;
    static Wire wrap(const Wire& texts) { return texts; }
    static Wire unwrap(Wire texts) { return texts; }
};

template <>
struct Carried<IntentResult> {
    using Wire = WireResult;
    static Wire wrap(const IntentResult& result) { return {result}; }
    static IntentResult unwrap(Wire record) { return std::move(record.result); }
};

template <>
struct Carried<IntentValues> {
    using Wire = std::vector<WireNamedValue>;
    static Wire wrap(const IntentValues& values) {
        Wire records;
        for (const auto& [name, value] : values) {
            records.push_back({name, value});
        }
        return records;
    }
    static IntentValues unwrap(Wire records) {
        IntentValues values;
        for (auto& each : records) {
            if (!values.emplace(each.name, std::move(each.value)).second) {
                throw IntentWireError("the value of " + each.name + " is given twice");
            }
        }
        return values;
    }
};

}  // namespace

template <typename T>
std::string toWire(const T& value) {
    try {
        return std::string(foundation::JSONEncoder().encode(Carried<T>::wrap(value)).view());
    } catch (const foundation::EncodingError& error) {
        throw IntentWireError("cannot be written as JSON: " + error.debugDescription());
    }
}

template <typename T>
T fromWire(std::string_view json) {
    try {
        return Carried<T>::unwrap(foundation::JSONDecoder().decode<typename Carried<T>::Wire>(json));
    } catch (const foundation::DecodingError& error) {
        throw IntentWireError("not the JSON expected: " + error.debugDescription() + " at " + error.codingPath().description());
    }
}

template std::string toWire(const IntentValues&);
template std::string toWire(const IntentResult&);
template std::string toWire(const EntityCollection&);
template std::string toWire(const std::vector<IntentDescription>&);
template std::string toWire(const std::vector<EntityValue>&);
template std::string toWire(const std::vector<DisplayRepresentation>&);
template std::string toWire(const std::vector<std::string>&);
template IntentValues fromWire(std::string_view);
template IntentResult fromWire(std::string_view);
template EntityCollection fromWire(std::string_view);
template std::vector<IntentDescription> fromWire(std::string_view);
template std::vector<EntityValue> fromWire(std::string_view);
template std::vector<DisplayRepresentation> fromWire(std::string_view);
template std::vector<std::string> fromWire(std::string_view);

}  // namespace appintents
