#pragma once

// Small records that use every container operation the service's records
// need: required and optional keys, nested records, lists of records,
// optional lists, a lenient text enumeration, data, dates and UUIDs.

#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/SingleValueDecodingContainer.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace foundation::fixtures {

// Decodes any text it does not know as `unknown`, as the block kinds do.
struct Kind {
    enum Value { image, text, unknown };
    Value value = unknown;

    static Kind decode(Decoder& decoder) {
        const auto raw = decoder.singleValueContainer().decode<std::string>();
        if (raw == "image") return {image};
        if (raw == "text") return {text};
        return {unknown};
    }
    void encode(Encoder& encoder) const {
        static constexpr const char* names[] = {"image", "text", "unknown"};
        encoder.singleValueContainer().encode(std::string_view(names[value]));
    }
    friend bool operator==(const Kind&, const Kind&) = default;
};

struct Attachment {
    std::int64_t id = 0;
    std::optional<std::int64_t> width;
    std::optional<float> duration;
    std::string mimeType;
    std::optional<Data> thumbnail;

    static Attachment decode(Decoder& decoder) {
        auto c = decoder.container();
        Attachment a;
        a.id = c.decode<std::int64_t>("id");
        a.width = c.decodeIfPresent<std::int64_t>("width");
        a.duration = c.decodeIfPresent<float>("duration");
        a.mimeType = c.decode<std::string>("mimeType");
        a.thumbnail = c.decodeIfPresent<Data>("thumbnail");
        return a;
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("id", id);
        c.encodeIfPresent("width", width);
        c.encodeIfPresent("duration", duration);
        c.encode("mimeType", mimeType);
        c.encodeIfPresent("thumbnail", thumbnail);
    }
    friend bool operator==(const Attachment&, const Attachment&) = default;
};

struct Note {
    UUID id{UUID::Bytes{}};
    Text title;
    Date date;
    std::optional<Date> editedAt;
    Kind kind;
    std::optional<bool> pinned;
    std::optional<std::vector<Attachment>> attachments;

    static Note decode(Decoder& decoder) {
        auto c = decoder.container();
        Note n;
        n.id = c.decode<UUID>("id");
        n.title = c.decode<Text>("title");
        n.date = c.decode<Date>("date");
        n.editedAt = c.decodeIfPresent<Date>("editedAt");
        n.kind = c.decode<Kind>("kind");
        n.pinned = c.decodeIfPresent<bool>("pinned");
        n.attachments = c.decodeIfPresent<std::vector<Attachment>>("attachments");
        return n;
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("id", id);
        c.encode("title", title);
        c.encode("date", date);
        c.encodeIfPresent("editedAt", editedAt);
        c.encode("kind", kind);
        c.encodeIfPresent("pinned", pinned);
        c.encodeIfPresent("attachments", attachments);
    }
    friend bool operator==(const Note&, const Note&) = default;
};

// Writes its keys in another order than it declares its fields, as records may.
struct Person {
    std::int64_t id = 0;
    std::string name;
    std::optional<double> score;
    std::optional<std::vector<Note>> notes;
    std::optional<std::vector<Person>> friends;

    static Person decode(Decoder& decoder) {
        auto c = decoder.container();
        Person p;
        p.id = c.decode<std::int64_t>("id");
        p.notes = c.decodeIfPresent<std::vector<Note>>("notes");
        p.friends = c.decodeIfPresent<std::vector<Person>>("friends");
        p.score = c.decodeIfPresent<double>("score");
        p.name = c.decode<std::string>("name");
        return p;
    }
    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("id", id);
        c.encodeIfPresent("notes", notes);
        c.encodeIfPresent("friends", friends);
        c.encodeIfPresent("score", score);
        c.encode("name", name);
    }
    friend bool operator==(const Person&, const Person&) = default;
};

// One required value of type T under the key "v".
template <typename T>
struct Field {
    T v;

    static Field decode(Decoder& decoder) { return {decoder.container().decode<T>("v")}; }
    void encode(Encoder& encoder) const { encoder.container().encode("v", v); }
};

// As deep as its JSON: an object holding a list of itself.
struct Nest {
    std::optional<std::vector<Nest>> inner;

    static Nest decode(Decoder& decoder) {
        return {decoder.container().decodeIfPresent<std::vector<Nest>>("inner")};
    }
    void encode(Encoder& encoder) const { encoder.container().encodeIfPresent("inner", inner); }
};

inline std::string encodedText(const Data& data) {
    return std::string(data.view());
}

}  // namespace foundation::fixtures
