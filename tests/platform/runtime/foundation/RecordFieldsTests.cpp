// A record read through its table must come out exactly as reading its keys
// one by one through a keyed container does: the same value, or the same
// failure (kind, path and description). Each case decodes one document both
// ways and compares.

#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/RecordFields.hpp"
#include "platform/runtime/foundation/coding/SingleValueDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/SingleValueEncodingContainer.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace foundation {
namespace {

enum class Shape { round, square, unknown };

// Reads any text it does not know as unknown.
struct ShapeText {
    static Shape decode(Decoder& decoder) {
        const auto text = decoder.singleValueContainer().decode<std::string>();
        return text == "round" ? Shape::round : text == "square" ? Shape::square : Shape::unknown;
    }
    static void encode(Encoder& encoder, Shape shape) {
        encoder.singleValueContainer().encode(
            std::string_view(shape == Shape::round ? "round" : shape == Shape::square ? "square" : "unknown"));
    }
};

struct Part {
    std::int64_t size = 0;
    std::optional<double> weight;

    static Part decode(Decoder& decoder);
    void encode(Encoder& encoder) const;
    void hash(Hasher& hasher) const;
    friend bool operator==(const Part&, const Part&) = default;
};

struct Sample {
    std::int64_t id = 0;
    Text name;
    std::optional<Text> note;
    Shape shape = Shape::unknown;
    std::optional<std::vector<Part>> parts;
    std::optional<Part> main;
    std::optional<Date> seenAt;
    std::optional<bool> flag;
    std::string cache;  // never coded

    static Sample decode(Decoder& decoder);
    void encode(Encoder& encoder) const;
    friend bool operator==(const Sample&, const Sample&) = default;
};

using PartFields = RecordFields<Required<"size", &Part::size>, Optional<"weight", &Part::weight>>;

Part Part::decode(Decoder& decoder) { return PartFields::decode(decoder); }
void Part::encode(Encoder& encoder) const { PartFields::encode(encoder, *this); }
void Part::hash(Hasher& hasher) const { PartFields::hash(hasher, *this); }

using SampleFields = RecordFields<
    Required<"id", &Sample::id>,
    Required<"name", &Sample::name>,
    Optional<"note", &Sample::note>,
    Required<"shape", &Sample::shape, ShapeText>,
    Optional<"parts", &Sample::parts>,
    Optional<"main", &Sample::main>,
    Optional<"seenAt", &Sample::seenAt>,
    Optional<"flag", &Sample::flag>,
    Uncoded<&Sample::cache>>;

Sample Sample::decode(Decoder& decoder) { return SampleFields::decode(decoder); }
void Sample::encode(Encoder& encoder) const { SampleFields::encode(encoder, *this); }

struct ShapeValue {
    Shape shape;
    static ShapeValue decode(Decoder& decoder) { return {ShapeText::decode(decoder)}; }
};

// The same keys read one by one, in declared order, through a keyed container.
struct ReferenceSample : Sample {
    static ReferenceSample decode(Decoder& decoder) {
        const auto c = decoder.container();
        ReferenceSample s;
        s.id = c.decode<std::int64_t>("id");
        s.name = c.decode<Text>("name");
        s.note = c.decodeIfPresent<Text>("note");
        s.shape = c.decode<ShapeValue>("shape").shape;
        s.parts = c.decodeIfPresent<std::vector<Part>>("parts");
        s.main = c.decodeIfPresent<Part>("main");
        s.seenAt = c.decodeIfPresent<Date>("seenAt");
        s.flag = c.decodeIfPresent<bool>("flag");
        return s;
    }
};

// A value or a failure, compared in full.
struct Outcome {
    std::optional<Sample> value;
    std::optional<DecodingError::Kind> failure;
    std::string path;
    std::string description;

    friend bool operator==(const Outcome&, const Outcome&) = default;
};

template <typename Reader>
Outcome outcomeOf(const std::string& json) {
    Outcome outcome;
    try {
        outcome.value = JSONDecoder().decode<Reader>(json);
    } catch (const DecodingError& error) {
        outcome.failure = error.kind();
        outcome.path = error.codingPath().description();
        outcome.description = error.debugDescription();
    }
    return outcome;
}

std::string describe(const Outcome& outcome) {
    if (outcome.value) {
        return "a value with id " + std::to_string(outcome.value->id);
    }
    return "a failure at " + outcome.path + ": " + outcome.description;
}

struct Case {
    const char* name;
    std::string json;
    bool decodes;
};

const std::vector<Case> cases = {
    {"KeysInDeclaredOrder",
     R"({"id":1,"name":"a","note":"n","shape":"round","parts":[{"size":2,"weight":0.5}],"main":{"size":3},"seenAt":12.5,"flag":true})",
     true},
    {"KeysInAnotherOrder", R"({"flag":false,"main":{"size":3},"shape":"square","name":"a","id":1,"note":"n"})", true},
    {"UnknownKeysAnywhere", R"({"x":1,"id":1,"y":{"id":2},"name":"a","shape":"hexagon","z":[1],"note":null})", true},
    {"OptionalKeysAbsentOrNull", R"({"id":1,"name":"a","shape":"round","parts":null,"main":null,"flag":null})", true},
    {"TheLastOfARepeatedKeyCounts", R"({"id":"one","name":"a","id":2,"shape":"round","note":5,"note":"n"})", true},
    {"ARepeatedKeyThatEndsInAFaultFails", R"({"id":2,"name":"a","shape":"round","id":"two"})", false},
    {"ARepeatedOptionalKeyThatEndsInNullIsEmpty", R"({"id":2,"name":"a","note":"n","shape":"round","note":null})",
     true},
    {"MissingRequiredKey", R"({"id":1,"shape":"round"})", false},
    {"RequiredNull", R"({"id":1,"name":null,"shape":"round"})", false},
    {"TypeMismatch", R"({"id":1,"name":"a","shape":"round","flag":"yes"})", false},
    {"AFaultFirstInTheTextButLaterInDeclaredOrder", R"({"flag":"yes","id":1,"name":2,"shape":"round"})", false},
    {"AFaultBeforeAMissingKeyDeclaredEarlier", R"({"flag":"yes","id":1,"shape":"round"})", false},
    {"AMissingKeyDeclaredBeforeAFaultThatComesFirst", R"({"note":7,"id":1,"shape":"round"})", false},
    {"ANestedFaultNamesItsPath", R"({"id":1,"name":"a","shape":"round","parts":[{"size":1},{"weight":2}]})", false},
    {"ANestedFaultAfterAFaultDeclaredEarlier", R"({"main":{"size":"big"},"id":1,"name":"a","shape":3})", false},
    {"ANestedFaultInAnEarlierValueOfARepeatedKey",
     R"({"id":1,"name":"a","shape":"round","main":{"size":"big"},"main":{"size":4}})", true},
    {"NotAnObject", R"([1,2])", false},
    {"Null", R"(null)", false},
    {"AnEmptyObject", R"({})", false},
};

class RecordFieldsDecoding : public testing::TestWithParam<Case> {};

TEST_P(RecordFieldsDecoding, GivesWhatReadingTheKeysOneByOneGives) {
    const Case& c = GetParam();
    const Outcome table = outcomeOf<Sample>(c.json);
    const Outcome reference = outcomeOf<ReferenceSample>(c.json);
    EXPECT_EQ(table, reference) << "table: " << describe(table) << "\nreference: " << describe(reference);
    EXPECT_EQ(table.value.has_value(), c.decodes) << describe(table);
}

INSTANTIATE_TEST_SUITE_P(Documents, RecordFieldsDecoding, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

// A record that counts how often its id is read.
std::size_t idReads = 0;

struct CountedId {
    static std::int64_t decode(Decoder& decoder) {
        ++idReads;
        return decoder.singleValueContainer().decode<std::int64_t>();
    }
    static void encode(Encoder& encoder, std::int64_t id) { encoder.singleValueContainer().encode(id); }
};

struct Link {
    std::int64_t id = 0;
    std::optional<std::vector<Link>> next;

    static Link decode(Decoder& decoder);
};

using LinkFields = RecordFields<Required<"id", &Link::id, CountedId>, Optional<"next", &Link::next>>;

Link Link::decode(Decoder& decoder) { return LinkFields::decode(decoder); }

// After a fault, each level reads its keys again in declared order but not
// the value that failed: a fault deep down costs a read per level, not one per
// path through the levels above it, so a crafted document cannot make a decode
// take exponential time.
TEST(RecordFieldsDecodingDepth, AFaultDeepDownIsReadOncePerLevel) {
    constexpr std::size_t depth = 200;  // two levels of nesting each, within the limit
    std::string json;
    for (std::size_t i = 0; i < depth; ++i) {
        json += R"({"next":[{"id":1}, )";
    }
    json += R"({"id":"deep"})";
    for (std::size_t i = 0; i < depth; ++i) {
        json += R"(], "id":1})";
    }
    idReads = 0;
    try {
        (void)JSONDecoder().decode<Link>(json);
        FAIL() << "the deepest id is not a number";
    } catch (const DecodingError& error) {
        EXPECT_EQ(error.kind(), DecodingError::Kind::typeMismatch);
        EXPECT_EQ(error.codingPath().keys().size(), 2 * depth + 1);
    }
    // Per level: the sibling's id and the level's own id (which follows the
    // list) are each read at most twice, the deepest id once.
    EXPECT_LE(idReads, 4 * depth + 1);
}

// A fault in an earlier value of a repeated key, at every level of a chain:
// each level's record is whole after all, and no value is read twice.
TEST(RecordFieldsDecodingDepth, FaultsInEarlierValuesOfRepeatedKeysAreReadOncePerLevel) {
    constexpr std::size_t depth = 200;
    std::string json;
    for (std::size_t i = 0; i < depth; ++i) {
        json += R"({"next":[)";
    }
    json += R"({"id":"bad","id":1})";
    for (std::size_t i = 0; i < depth; ++i) {
        json += R"(],"id":"bad","id":1})";
    }
    idReads = 0;
    Link link = JSONDecoder().decode<Link>(json);
    std::size_t levels = 1;
    for (const Link* level = &link; level->next && !level->next->empty(); level = &level->next->front()) {
        EXPECT_EQ(level->id, 1);
        ++levels;
    }
    EXPECT_EQ(levels, depth + 1);
    // Per level: the bad id once and the good one once.
    EXPECT_EQ(idReads, 2 * (depth + 1));
}

// A box for nested records that may hold one shared with others, as the service's records have.
template <typename T>
struct SharedBox {
    using value_type = T;
    SharedBox() = default;
    SharedBox(std::nullopt_t) {}  // NOLINT(google-explicit-constructor)
    SharedBox(T value) : record(std::make_shared<T>(std::move(value))) {}  // NOLINT(google-explicit-constructor)
    explicit SharedBox(std::shared_ptr<T> shared) : record(std::move(shared)) {}
    [[nodiscard]] const T* get() const noexcept { return record.get(); }

    std::shared_ptr<T> record;
};

struct Post {
    std::optional<Text> text;
    SharedBox<Part> part;

    static Post decode(Decoder& decoder);
};

using PostFields = RecordFields<Optional<"text", &Post::text>, Optional<"part", &Post::part>>;

Post Post::decode(Decoder& decoder) { return PostFields::decode(decoder); }

// Only values that are the same text share a record: any difference a reader
// could see (a byte, a number's form or sign, the order of keys) keeps them apart.
TEST(RecordFieldsSharing, OnlyValuesThatAreTheSameTextShareARecord) {
    const auto posts = JSONDecoder().decode<std::vector<Post>>(R"([
        {"part":{"size":1,"weight":2.5}},
        {"text":"x","part":{"size":1,"weight":2.5}},
        {"part":{"size":1,"weight":2.25}},
        {"part":{"size":2,"weight":2.5}},
        {"part":{"weight":2.5,"size":1}},
        {"part":{"size":1,"weight":0.0}},
        {"part":{"size":1,"weight":-0.0}},
        {"part":{"size":1,"weight":2.5,"note":"unread"}},
        {"part":null},
        {"part":{"size":1,"weight":2.5}},
        {"part":{"size":1,"note":"AAAAAAAAAA1ZZZZZZZZZZ"}},
        {"part":{"size":1,"note":"AAAAAAAAAA2ZZZZZZZZZZ"}}
    ])");
    ASSERT_EQ(posts.size(), 12u);
    EXPECT_NE(posts[10].part.get(), posts[11].part.get());
    EXPECT_EQ(posts[0].part.get(), posts[1].part.get());
    EXPECT_EQ(posts[0].part.get(), posts[9].part.get());
    for (const std::size_t apart : {2u, 3u, 4u, 5u, 6u, 7u}) {
        EXPECT_NE(posts[0].part.get(), posts[apart].part.get()) << "post " << apart;
    }
    EXPECT_NE(posts[5].part.get(), posts[6].part.get());
    EXPECT_TRUE(std::signbit(*posts[6].part.get()->weight));
    EXPECT_EQ(posts[8].part.get(), nullptr);
    EXPECT_EQ(posts[4].part.get()->size, 1);
}

TEST(RecordFieldsEncoding, WritesDeclaredKeysInOrderAndLeavesEmptyOptionalsOut) {
    Sample sample;
    sample.id = 7;
    sample.name = Text("a/b");
    sample.shape = Shape::square;
    sample.main = Part{.size = 2, .weight = std::nullopt};
    sample.flag = false;
    sample.cache = "never written";
    const Data json = JSONEncoder().encode(sample);
    EXPECT_EQ(std::string(json.view()),
              R"({"id":7,"name":"a\/b","shape":"square","main":{"size":2},"flag":false})");
}

TEST(RecordFieldsHashing, EqualRecordsHashAlikeAndEveryFieldCounts) {
    const auto hashOf = [](const Sample& sample) {
        Hasher hasher;
        SampleFields::hash(hasher, sample);
        return hasher.finalize();
    };
    Sample a;
    a.id = 1;
    a.name = Text("e\u0301");
    Sample b = a;
    b.name = Text("\u00e9");  // canonically equivalent
    EXPECT_EQ(hashOf(a), hashOf(b));
    Sample shaped = a;
    shaped.shape = Shape::round;
    Sample cached = a;
    cached.cache = "bytes";
    Sample flagged = a;
    flagged.flag = false;
    EXPECT_NE(hashOf(a), hashOf(shaped));
    EXPECT_NE(hashOf(a), hashOf(cached));
    EXPECT_NE(hashOf(a), hashOf(flagged));
}

}  // namespace
}  // namespace foundation
