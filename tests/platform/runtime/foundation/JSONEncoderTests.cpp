#include "tests/platform/runtime/foundation/CodingFixtures.hpp"

#include "platform/runtime/foundation/coding/EncodingError.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace foundation {
namespace {

using fixtures::Attachment;
using fixtures::encodedText;
using fixtures::Field;
using fixtures::Kind;
using fixtures::Nest;
using fixtures::Note;
using fixtures::Person;

template <typename T>
std::string encodedValue(const T& value) {
    const std::string json = encodedText(JSONEncoder().encode(Field<T>{value}));
    EXPECT_EQ(json.substr(0, 5), "{\"v\":");
    return json.substr(5, json.size() - 6);
}

const UUID sampleID = *UUID::fromString("e621e1f8-c36c-495a-93fc-0c247a3e6e5f");

TEST(JSONEncoderValues, NumbersInTheirShortestExactText) {
    struct Case {
        double value;
        std::string_view text;
    };
    for (const auto& c : {Case{60.0, "60"}, Case{-3.0, "-3"}, Case{0.1, "0.1"}, Case{-2.5e-3, "-0.0025"},
                          Case{1e300, "1e+300"}, Case{5e-324, "5e-324"}, Case{-0.0, "-0.0"}, Case{0.0, "0"},
                          Case{703225628.123, "703225628.123"}, Case{1.0 / 3.0, "0.3333333333333333"},
                          Case{730000000.0, "730000000"}, Case{9007199254740992.0, "9007199254740992"},
                          Case{1e21, "1e+21"}}) {
        EXPECT_EQ(encodedValue(c.value), c.text);
        EXPECT_EQ(JSONDecoder().decode<double>(c.text), c.value) << c.text;
    }
    struct FloatCase {
        float value;
        std::string_view text;
    };
    for (const auto& c :
         {FloatCase{12.1f, "12.1"}, FloatCase{12.0f, "12"}, FloatCase{0.1f, "0.1"}, FloatCase{-0.0f, "-0.0"}, FloatCase{7e6f, "7000000"},
          FloatCase{std::numeric_limits<float>::max(), "3.4028235e+38"}}) {
        EXPECT_EQ(encodedValue(c.value), c.text);
        EXPECT_EQ(JSONDecoder().decode<float>(c.text), c.value) << c.text;
    }
    EXPECT_EQ(encodedValue(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
    EXPECT_EQ(encodedValue(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(encodedValue(true), "true");
    EXPECT_EQ(encodedValue(Date::fromTimeIntervalSinceReferenceDate(60)), "60");
    EXPECT_EQ(encodedValue(Date::fromTimeIntervalSinceReferenceDate(-0.5)), "-0.5");
}

TEST(JSONEncoderValues, TextsEscapedAsTheOtherPlatformWritesThem) {
    struct Case {
        std::string value;
        std::string_view text;
    };
    const Case cases[] = {
        {"plain", R"("plain")"},
        {"a/b", R"("a\/b")"},
        {"\"q\" \\", R"("\"q\" \\")"},
        {"\b\f\n\r\t", R"("\b\f\n\r\t")"},
        {std::string("\0\x01\x1f", 3), R"("\u0000\u0001\u001f")"},
        {"caf\u00e9 \U0001F600 \u2028", "\"caf\u00e9 \U0001F600 \u2028\""},
        {"\x7f", "\"\x7f\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encodedValue(c.value), c.text);
        EXPECT_EQ(JSONDecoder().decode<std::string>(c.text), c.value) << c.text;
    }
    EXPECT_EQ(encodedValue(Text("e\xCC\x81")), "\"e\xCC\x81\"") << "text is written with the bytes it holds";
    EXPECT_EQ(encodedValue(Data(std::string_view("\0\xff\xfe", 3))), R"("AP\/+")");
    EXPECT_EQ(encodedValue(Data()), R"("")");
    EXPECT_EQ(encodedValue(sampleID), R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5F")");
}

TEST(JSONEncoderValues, RefusesWhatJSONCannotCarry) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        std::function<Data()> encode;
        std::string_view path;
        std::string_view description;
    };
    const Case cases[] = {
        {[] { return JSONEncoder().encode(Field<double>{std::nan("")}); }, "v", "Double.nan"},
        {[=] { return JSONEncoder().encode(Field<double>{-inf}); }, "v", "Double.-infinity"},
        {[] { return JSONEncoder().encode(std::numeric_limits<float>::infinity()); }, "the top level",
         "Float.infinity"},
        {[=] { return JSONEncoder().encode(Field<Date>{Date::fromTimeIntervalSinceReferenceDate(inf)}); },
         "v", "infinity"},
        {[] {
             Person p{
                 1, "p", {}, {}, std::vector<Person>{{2, "q", {}, {}, {}}, {3, "r", std::nan(""), {}, {}}}};
             return JSONEncoder().encode(p);
         },
         "friends[1].score", "Double.nan"},
        {[] {
             Note n{sampleID,
                    "t",
                    {},
                    {},
                    {},
                    {},
                    std::vector<Attachment>{{1, {}, -std::numeric_limits<float>::infinity(), "m", {}}}};
             return JSONEncoder().encode(n);
         },
         "attachments[0].duration", "Float.-infinity"},
        {[] { return JSONEncoder().encode(Field<std::string>{"bad \xff byte"}); }, "v", "UTF-8"},
        {[] {
             return JSONEncoder().encode(std::vector<Text>{"ok", "\xC3"});
         },
         "[1]", "UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            (void)c.encode();
            ADD_FAILURE() << "encoded";
        } catch (const EncodingError& error) {
            EXPECT_EQ(error.kind(), EncodingError::Kind::invalidValue);
            EXPECT_EQ(error.codingPath().description(), c.path);
            EXPECT_NE(error.debugDescription().find(c.description), std::string::npos)
                << error.debugDescription();
            EXPECT_STRNE(error.what(), "");
        }
    }
}

TEST(JSONEncoderRecords, KeysInWritingOrderAbsentOptionalsLeftOut) {
    const Note minimal{sampleID, "Morning", Date::fromTimeIntervalSinceReferenceDate(60), {}, {Kind::text},
                       {},       {}};
    EXPECT_EQ(encodedText(JSONEncoder().encode(minimal)),
              R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"Morning","date":60,"kind":"text"})");

    Note full = minimal;
    full.editedAt = Date::fromTimeIntervalSinceReferenceDate(0.5);
    full.pinned = false;
    full.attachments =
        std::vector<Attachment>{{7, 640, 12.1f, "image/png", Data("png")}, {8, {}, {}, "a", {}}};
    EXPECT_EQ(encodedText(JSONEncoder().encode(full)),
              R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"Morning","date":60,"editedAt":0.5,)"
              R"("kind":"text","pinned":false,"attachments":[{"id":7,"width":640,"duration":12.1,)"
              R"("mimeType":"image\/png","thumbnail":"cG5n"},{"id":8,"mimeType":"a"}]})");

    // Person writes its keys in another order than it reads or declares them.
    const Person person{1, "p", 2.5, std::vector<Note>{}, {}};
    EXPECT_EQ(encodedText(JSONEncoder().encode(person)), R"({"id":1,"notes":[],"score":2.5,"name":"p"})");
    const Person noNotes{1, "p", 2.5, {}, {}};
    EXPECT_EQ(encodedText(JSONEncoder().encode(noNotes)), R"({"id":1,"score":2.5,"name":"p"})");
}

// Keys written as literals skip the checks at each write when they need no
// escaping; every other key, literal or not, is escaped as a text is.
TEST(JSONEncoderRecords, KeysAreEscapedAsTextsAre) {
    struct Keys {
        std::string runtimeKey;
        void encode(Encoder& encoder) const {
            auto c = encoder.container();
            c.encode("plain_Key-1 ~", 1);
            c.encode("a/b", 2);
            c.encode("q\"\\", 3);
            c.encode("tab\t", 4);
            c.encode("caf\u00e9", 5);
            c.encode(runtimeKey, 6);
            c.encode(std::string_view("v"), 7);
            c.encodeNil("n/");
        }
    };
    EXPECT_EQ(encodedText(JSONEncoder().encode(Keys{"r/\n"})),
              R"({"plain_Key-1 ~":1,"a\/b":2,"q\"\\":3,"tab\t":4,)"
              "\"caf\u00e9\":5,"
              R"("r\/\n":6,"v":7,"n\/":null})");

    struct BadKey {
        std::string key;
        void encode(Encoder& encoder) const {
            auto c = encoder.container();
            c.encode("fine", 1);
            if (key.empty()) {
                c.encode("\xff", 2);
            } else {
                c.encode(key, 2);
            }
        }
    };
    for (const std::string& key : {std::string(), std::string("\xC3")}) {
        try {
            (void)JSONEncoder().encode(BadKey{key});
            ADD_FAILURE() << "encoded";
        } catch (const EncodingError& error) {
            EXPECT_NE(error.debugDescription().find("UTF-8"), std::string::npos) << error.debugDescription();
        }
    }
}

TEST(JSONEncoderRecords, ListsAndFragmentsAtTheTopLevel) {
    EXPECT_EQ(encodedText(JSONEncoder().encode(std::vector<std::int64_t>{})), "[]");
    EXPECT_EQ(encodedText(JSONEncoder().encode(std::vector<std::vector<int>>{{1, 2}, {}, {3}})),
              "[[1,2],[],[3]]");
    EXPECT_EQ(encodedText(JSONEncoder().encode(std::string("x"))), R"("x")");
    EXPECT_EQ(encodedText(JSONEncoder().encode(Kind{Kind::image})), R"("image")");
}

TEST(JSONEncoderRecords, AValueThatWritesNothing) {
    struct Silent {
        void encode(Encoder&) const {}
    };
    EXPECT_EQ(encodedText(JSONEncoder().encode(std::vector<Silent>(2))), "[{},{}]");
    EXPECT_THROW((void)JSONEncoder().encode(Silent{}), EncodingError);
}

TEST(JSONEncoderRecords, RefusesNestingTheDecoderWouldRefuse) {
    const auto nested = [](std::size_t levels) {
        Nest nest;
        for (std::size_t i = 0; i < levels; ++i) {
            Nest outer;
            outer.inner.emplace().push_back(std::move(nest));
            nest = std::move(outer);
        }
        return nest;
    };
    const std::size_t fits = JSONDecoder::maximumDepth / 2 - 1;  // each level is an object and a list
    const Data json = JSONEncoder().encode(nested(fits));
    EXPECT_NO_THROW((void)JSONDecoder().decode<Nest>(json));
    EXPECT_THROW((void)JSONEncoder().encode(nested(fits + 1)), EncodingError);
    EXPECT_THROW((void)JSONEncoder().encode(nested(10000)), EncodingError);
}

TEST(JSONCodingRoundTrip, DecodeOfEncodeGivesTheSameValue) {
    Person person{42, "Zo\u00eb", -0.0, {}, {}};
    person.notes = std::vector<Note>{
        {sampleID,
         "Caf\u00e9 \U0001F600",
         Date::fromTimeIntervalSinceReferenceDate(703225628.125),
         Date::fromTimeIntervalSinceReferenceDate(-1e-3),
         {Kind::image},
         true,
         std::vector<Attachment>{{1, 1920, 0.333f, "video/mp4", Data(std::string_view("\0\x01\x02", 3))}}},
        {UUID(), "", Date(), {}, {Kind::unknown}, {}, std::vector<Attachment>{}},
    };
    person.friends = std::vector<Person>{{7, "f", {}, {}, std::vector<Person>{}}};
    const Data json = JSONEncoder().encode(person);
    const Person decoded = JSONDecoder().decode<Person>(json);
    EXPECT_EQ(decoded, person);
    EXPECT_EQ(JSONEncoder().encode(decoded), json);
}

}  // namespace
}  // namespace foundation
