// Decodes arbitrary bytes into a nested record shape and re-encodes whatever
// decodes. Besides never crashing, what decodes must encode, and must decode
// again to an equal value with the same bytes on the next encode.

#include "foundation/DecodingError.hpp"
#include "foundation/EncodingError.hpp"
#include "foundation/JSONDecoder.hpp"
#include "foundation/JSONEncoder.hpp"
#include "foundation/KeyedDecodingContainer.hpp"
#include "foundation/SingleValueDecodingContainer.hpp"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace foundation;

struct Kind {
    std::string raw;  // "a" or "b"; any other text reads as "other"

    static Kind decode(Decoder& decoder) {
        auto raw = decoder.singleValueContainer().decode<std::string>();
        return {raw == "a" || raw == "b" ? raw : "other"};
    }
    void encode(Encoder& encoder) const { encoder.singleValueContainer().encode(raw); }
    friend bool operator==(const Kind&, const Kind&) = default;
};

struct Node {
    std::int64_t id = 0;
    std::optional<std::string> name;
    std::optional<Text> title;
    std::optional<double> score;
    std::optional<float> ratio;
    std::optional<int> small;
    std::optional<bool> flag;
    std::optional<Data> blob;
    std::optional<UUID> uuid;
    std::optional<Date> at;
    std::optional<Kind> kind;
    std::optional<std::vector<Node>> children;
    std::optional<std::vector<std::vector<std::int64_t>>> grid;
    bool hadNull = false;  // whether "name" was given as null

    static Node decode(Decoder& decoder) {
        auto c = decoder.container();
        Node n;
        n.id = c.decode<std::int64_t>("id");
        n.name = c.decodeIfPresent<std::string>("name");
        n.hadNull = c.contains("name") && c.decodeNil("name");
        n.title = c.decodeIfPresent<Text>("title");
        n.score = c.decodeIfPresent<double>("score");
        n.ratio = c.decodeIfPresent<float>("ratio");
        n.small = c.decodeIfPresent<int>("small");
        n.flag = c.decodeIfPresent<bool>("flag");
        n.blob = c.decodeIfPresent<Data>("blob");
        n.uuid = c.decodeIfPresent<UUID>("uuid");
        n.at = c.decodeIfPresent<Date>("at");
        n.kind = c.decodeIfPresent<Kind>("kind");
        n.children = c.decodeIfPresent<std::vector<Node>>("children");
        n.grid = c.decodeIfPresent<std::vector<std::vector<std::int64_t>>>("grid");
        return n;
    }

    void encode(Encoder& encoder) const {
        auto c = encoder.container();
        c.encode("id", id);
        if (hadNull) {
            c.encodeNil("name");
        }
        c.encodeIfPresent("name", name);
        c.encodeIfPresent("title", title);
        c.encodeIfPresent("score", score);
        c.encodeIfPresent("ratio", ratio);
        c.encodeIfPresent("small", small);
        c.encodeIfPresent("flag", flag);
        c.encodeIfPresent("blob", blob);
        c.encodeIfPresent("uuid", uuid);
        c.encodeIfPresent("at", at);
        c.encodeIfPresent("kind", kind);
        c.encodeIfPresent("children", children);
        c.encodeIfPresent("grid", grid);
    }

    friend bool operator==(const Node&, const Node&) = default;
};

template <typename T>
void roundTrip(std::string_view json) {
    std::optional<T> value;
    try {
        value.emplace(JSONDecoder().decode<T>(json));
    } catch (const DecodingError&) {
        return;
    }
    const Data encoded = JSONEncoder().encode(*value);
    const T again = JSONDecoder().decode<T>(encoded);
    if (!(again == *value) || !(JSONEncoder().encode(again) == encoded)) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view json(reinterpret_cast<const char*>(bytes), size);
    roundTrip<Node>(json);
    roundTrip<std::vector<Node>>(json);
    return 0;
}
