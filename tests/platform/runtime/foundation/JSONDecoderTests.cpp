#include "tests/platform/runtime/foundation/CodingFixtures.hpp"

#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"

#include "tests/support/DecodingErrorNames.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace foundation {
namespace {

using fixtures::Attachment;
using fixtures::Field;
using fixtures::Kind;
using fixtures::Nest;
using fixtures::Note;
using fixtures::Person;
using Failure = DecodingError::Kind;

using testsupport::name;

// Decodes `json` as T and expects it to fail with `kind` at `path`.
template <typename T>
void expectFailure(std::string_view json, Failure kind, std::string_view path,
                   const JSONDecoder& decoder = JSONDecoder()) {
    SCOPED_TRACE(std::string(json.substr(0, 120)));
    try {
        (void)decoder.decode<T>(json);
        ADD_FAILURE() << "decoded, expected " << name(kind);
    } catch (const DecodingError& error) {
        EXPECT_STREQ(name(error.kind()), name(kind)) << error.debugDescription();
        EXPECT_EQ(error.codingPath().description(), path) << error.debugDescription();
    }
}

template <typename T>
struct ValueCase {
    std::string_view json;  // the value under "v"
    std::optional<T> expected;
    Failure failure = Failure::dataCorrupted;  // when nothing is expected
};

template <typename T>
void checkValueCase(const ValueCase<T>& c, const std::string& json) {
    if (c.expected) {
        SCOPED_TRACE(json);
        try {
            EXPECT_EQ(JSONDecoder().decode<Field<T>>(json).v, *c.expected);
        } catch (const DecodingError& error) {
            ADD_FAILURE() << error.debugDescription();
        }
    } else {
        expectFailure<Field<T>>(json, c.failure, "v");
    }
}

// Each case is read twice: alone, and beside a number that no type holds,
// which makes the decoder read every number from its text.
template <typename T>
void checkValueCases(std::initializer_list<ValueCase<T>> cases) {
    for (const auto& c : cases) {
        for (const std::string_view prefix : {R"({"v":)", R"({"huge":1e400,"v":)"}) {
            checkValueCase(c, std::string(prefix).append(c.json).append("}"));
        }
    }
}

TEST(JSONDecoderValues, IntegersAreIntegralNumbersWithinRange) {
    constexpr auto max = std::numeric_limits<std::int64_t>::max();
    constexpr auto min = std::numeric_limits<std::int64_t>::min();
    checkValueCases<std::int64_t>({
        {"3", 3},
        {"-12", -12},
        {"3.0", 3},
        {"3e0", 3},
        {"-0.0", 0},
        {"1e3", 1000},
        {"9223372036854775807", max},
        {"-9223372036854775808", min},
        {"9223372036854775808", {}},
        {"18446744073709551615", {}},
        {"9.3e18", {}},
        {"3.5", {}},
        {"1e-1", {}},
        // Every digit counts, however the number is written: never through a double.
        {"9007199254740993.0", 9007199254740993},
        {"-9223372036854775807.0", -9223372036854775807},
        {"9223372036854775807.0", max},
        {"-9223372036854775808.0", min},
        {"922337203685477580.7e1", max},
        {"12345678901234567890e-1", 1234567890123456789},
        {"0.5e1", 5},
        {"100e-2", 1},
        {"1E+2", 100},
        {"0.000e99999", 0},
        {"9223372036854775808.0", {}},
        {"-9223372036854775809", {}},
        {"18446744073709551616", {}},
        {"1.0000000000000000001", {}},
        {"9007199254740993.5", {}},
        {"1e-400", {}},
        {"1e400", {}},
        {"\"3\"", {}, Failure::typeMismatch},
        {"true", {}, Failure::typeMismatch},
        {"[3]", {}, Failure::typeMismatch},
        {"{}", {}, Failure::typeMismatch},
        {"null", {}, Failure::valueNotFound},
    });
    checkValueCases<int>({
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", {}},
        {"-2147483649", {}},
    });
}

TEST(JSONDecoderValues, DoublesTakeAnyNumberAndKeepTheSignOfZero) {
    checkValueCases<double>({
        {"3", 3.0},
        {"0.1", 0.1},
        {"-2.5e-3", -2.5e-3},
        {"1.7976931348623157e308", 1.7976931348623157e308},
        {"18446744073709551615", 18446744073709551615.0},
        {"18446744073709551616", 18446744073709551616.0},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
        {"9007199254740993", 9007199254740992.0},
        {"1e-400", 0.0},
        {"1e400", {}},
        {"-1e400", {}},
        {"\"1\"", {}, Failure::typeMismatch},
        {"false", {}, Failure::typeMismatch},
        {"null", {}, Failure::valueNotFound},
    });
    const double zero = JSONDecoder().decode<Field<double>>(std::string_view(R"({"v":-0.0})")).v;
    EXPECT_EQ(zero, 0.0);
    EXPECT_TRUE(std::signbit(zero));
}

TEST(JSONDecoderValues, FloatsMustFitTheFloatRange) {
    checkValueCases<float>({
        {"12", 12.0f},
        {"12.1", 12.1f},
        {"-0.5", -0.5f},
        {"3.4028234663852886e38", 3.4028234663852886e38f},
        {"1e-50", 0.0f},
        {"3.4028235e38", 3.4028234663852886e38f},
        {"3.4028236e38", {}},
        {"3.5e38", {}},
        // Rounded once, from the text: just above, at and just below the
        // halfway point between 1 and the next float.
        {"1.00000005960464477539062501", 1.00000011920928955078125f},
        {"1.000000059604644775390625", 1.0f},
        {"1.00000005960464477539062499", 1.0f},
        {"16777217.000000000001", 16777218.0f},
        {"1e-45", 1.401298464324817e-45f},
        {"1e400", {}},
        {"-3.5e38", {}},
        {"1e300", {}},
        {"\"12\"", {}, Failure::typeMismatch},
    });
}

TEST(JSONDecoderValues, BooleansAreOnlyTrueAndFalse) {
    checkValueCases<bool>({
        {"true", true},
        {"false", false},
        {"1", {}, Failure::typeMismatch},
        {"0", {}, Failure::typeMismatch},
        {"\"true\"", {}, Failure::typeMismatch},
        {"null", {}, Failure::valueNotFound},
    });
}

TEST(JSONDecoderValues, StringsAreUnescapedAndNeverNumbers) {
    checkValueCases<std::string>({
        {R"("plain")", "plain"},
        {R"("caf\u00e9 \/ \"q\" \\")", "caf\u00e9 / \"q\" \\"},
        {R"("\ud83d\ude00")", "\U0001F600"},
        {R"("a\u0000b")", std::string("a\0b", 3)},
        {R"("")", ""},
        {"12", {}, Failure::typeMismatch},
        {"true", {}, Failure::typeMismatch},
        {"null", {}, Failure::valueNotFound},
    });
    // Text keeps the bytes it read and compares by canonical equivalence.
    const auto text = JSONDecoder().decode<Field<Text>>(std::string_view(R"({"v":"e\u0301"})")).v;
    EXPECT_EQ(text.str(), "e\xCC\x81");
    EXPECT_EQ(text, Text("\u00e9"));
}

TEST(JSONDecoderValues, DataIsStrictBase64Text) {
    checkValueCases<Data>({
        {R"("AP/+")", Data(std::string_view("\0\xff\xfe", 3))},
        {R"("AP\/+")", Data(std::string_view("\0\xff\xfe", 3))},
        {R"("Zm9vYg==")", Data("foob")},
        {R"("")", Data()},
        {R"("Zm9vYg")", {}},
        {R"("Zm9v Yg==")", {}},
        {R"("Zm9v!g==")", {}},
        {"[0,255]", {}, Failure::typeMismatch},
    });
}

TEST(JSONDecoderValues, UUIDsAreTextInEitherCase) {
    const auto uuid = UUID::fromString("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    checkValueCases<UUID>({
        {R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5F")", uuid},
        {R"("e621e1f8-c36c-495a-93fc-0c247a3e6e5f")", uuid},
        {R"("e621e1f8c36c495a93fc0c247a3e6e5f")", {}},
        {R"("not a uuid")", {}},
        {R"("")", {}},
        {"42", {}, Failure::typeMismatch},
    });
}

TEST(JSONDecoderValues, DatesAreSecondsSinceTheReferenceDateByDefault) {
    checkValueCases<Date>({
        {"60", Date::fromTimeIntervalSinceReferenceDate(60)},
        {"-0.25", Date::fromTimeIntervalSinceReferenceDate(-0.25)},
        {"703225628.123", Date::fromTimeIntervalSinceReferenceDate(703225628.123)},
        {R"("2023-04-05T06:07:08Z")", {}, Failure::typeMismatch},
        {"null", {}, Failure::valueNotFound},
    });
}

TEST(JSONDecoderValues, TopLevelFragmentsDecode) {
    EXPECT_EQ(JSONDecoder().decode<std::int64_t>(std::string_view(" 42 ")), 42);
    EXPECT_EQ(JSONDecoder().decode<std::string>(std::string_view(R"("x")")), "x");
    EXPECT_EQ(JSONDecoder().decode<std::vector<bool>>(std::string_view("[true,false]")),
              (std::vector<bool>{true, false}));
    expectFailure<std::int64_t>("null", Failure::valueNotFound, "the top level");
}

// A number that no type can hold fails only the field that reads it; under a
// key that no record reads it is ignored like any other value.
TEST(JSONDecoderValues, AHugeNumberFailsOnlyTheFieldThatReadsIt) {
    const std::string_view huge[] = {"18446744073709551616", "-9223372036854775809", "1e400", "-1e400",
                                     "[1e400]", R"({"n":[1,1e400]})", "123456789012345678901234567890"};
    for (const auto number : huge) {
        const std::string unread = std::string(R"({"extra":)").append(number).append(R"(,"v":7})");
        SCOPED_TRACE(unread);
        try {
            EXPECT_EQ(JSONDecoder().decode<Field<std::int64_t>>(unread).v, 7);
        } catch (const DecodingError& error) {
            ADD_FAILURE() << error.debugDescription();
        }
    }
    expectFailure<Field<std::int64_t>>(R"({"v":18446744073709551616})", Failure::dataCorrupted, "v");
    expectFailure<Field<double>>(R"({"v":1e400})", Failure::dataCorrupted, "v");
    expectFailure<Field<float>>(R"({"v":1e400})", Failure::dataCorrupted, "v");
    expectFailure<Field<Date>>(R"({"v":-1e400})", Failure::dataCorrupted, "v");
    expectFailure<Field<std::vector<double>>>(R"({"v":[0,1e400]})", Failure::dataCorrupted, "v[1]");
    expectFailure<double>("1e400", Failure::dataCorrupted, "the top level");
    try {
        (void)JSONDecoder().decode<Field<std::int64_t>>(std::string_view(R"({"v":1e400})"));
        ADD_FAILURE() << "decoded";
    } catch (const DecodingError& error) {
        EXPECT_EQ(error.debugDescription(), "Parsed JSON number <1e400> does not fit in Int64.");
    }
}

constexpr std::string_view noteJSON = R"({"id":"e621e1f8-c36c-495a-93fc-0c247a3e6e5f","title":"Morning",)"
                                      R"("date":60,"kind":"image","extra":{"ignored":[1,2]}})";

TEST(JSONDecoderKeyed, RequiredAndOptionalKeys) {
    const auto note = JSONDecoder().decode<Note>(noteJSON);
    EXPECT_EQ(note.title, Text("Morning"));
    EXPECT_EQ(note.kind, Kind{Kind::image});
    EXPECT_FALSE(note.editedAt.has_value());
    EXPECT_FALSE(note.pinned.has_value());
    EXPECT_FALSE(note.attachments.has_value());

    const auto withNulls =
        JSONDecoder().decode<Note>(std::string(noteJSON.substr(0, noteJSON.size() - 1)) +
                                   R"(,"pinned":null,"editedAt":null,"attachments":null})");
    EXPECT_EQ(withNulls, note);

    const auto empty = JSONDecoder().decode<Note>(std::string(noteJSON.substr(0, noteJSON.size() - 1)) +
                                                  R"(,"attachments":[]})");
    ASSERT_TRUE(empty.attachments.has_value());
    EXPECT_TRUE(empty.attachments->empty());
    EXPECT_NE(empty, note);
}

TEST(JSONDecoderKeyed, EachRuleBrokenFailsTheWholeRecord) {
    const std::string prefix = R"({"id":"e621e1f8-c36c-495a-93fc-0c247a3e6e5f","date":60,"kind":"text",)";
    struct Case {
        std::string tail;
        Failure failure;
        std::string_view path;
    };
    const Case cases[] = {
        {R"("other":1})", Failure::keyNotFound, "title"},
        {R"("Title":"x"})", Failure::keyNotFound, "title"},
        {R"("title":null})", Failure::valueNotFound, "title"},
        {R"("title":7})", Failure::typeMismatch, "title"},
        {R"("title":"x","pinned":"true"})", Failure::typeMismatch, "pinned"},
        {R"("title":"x","pinned":1})", Failure::typeMismatch, "pinned"},
        {R"("title":"x","kind":5})", Failure::typeMismatch, "kind"},
        {R"("title":"x","kind":null})", Failure::valueNotFound, "kind"},
        {R"("title":"x","attachments":{}})", Failure::typeMismatch, "attachments"},
        {R"("title":"x","attachments":[null]})", Failure::valueNotFound, "attachments[0]"},
        {R"("title":"x","attachments":[{"id":1,"mimeType":"a"},{"id":2}]})", Failure::keyNotFound,
         "attachments[1].mimeType"},
        {R"("title":"x","attachments":[{"id":1,"mimeType":"a","duration":1e39}]})", Failure::dataCorrupted,
         "attachments[0].duration"},
        {R"("title":"x","attachments":[{"id":1,"mimeType":"a","thumbnail":"%%"}]})", Failure::dataCorrupted,
         "attachments[0].thumbnail"},
    };
    for (const auto& c : cases) {
        expectFailure<Note>(prefix + c.tail, c.failure, c.path);
    }
    expectFailure<Note>("[]", Failure::typeMismatch, "the top level");
    expectFailure<Note>("null", Failure::valueNotFound, "the top level");
}

TEST(JSONDecoderKeyed, AFailureDeepInListsNamesItsPath) {
    const std::string json =
        R"({"id":1,"name":"a","friends":[{"id":2,"name":"b"},{"id":3,"name":"c","notes":[)"
        R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"t","date":1,"kind":"x"},)"
        R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"t","date":1,"kind":"x",)"
        R"("attachments":[{"id":4,"mimeType":"m","width":2.5}]}]}]})";
    expectFailure<Person>(json, Failure::dataCorrupted, "friends[1].notes[1].attachments[0].width");
    try {
        (void)JSONDecoder().decode<Person>(json);
    } catch (const DecodingError& error) {
        const auto& keys = error.codingPath().keys();
        ASSERT_EQ(keys.size(), 7u);
        EXPECT_EQ(keys[0], CodingKey("friends"));
        EXPECT_EQ(keys[1].intValue(), 1u);
        EXPECT_EQ(keys[1].stringValue(), "Index 1");
        EXPECT_FALSE(keys[6].intValue().has_value());
    }
}

TEST(JSONDecoderErrors, WhatSpeaksToTheUserAndTheDescriptionToDevelopers) {
    struct Case {
        std::string_view json;
        std::string_view what;
        std::string_view description;
    };
    constexpr std::string_view missing = "The data couldn\u2019t be read because it is missing.";
    constexpr std::string_view format =
        "The data couldn\u2019t be read because it isn\u2019t in the correct format.";
    const Case cases[] = {
        {R"({"name":"n"})", missing, R"(No value associated with key "id".)"},
        {R"({"id":null,"name":"n"})", missing, "Expected Int64 value but found null instead."},
        {R"({"id":"1","name":"n"})", format, "Expected to decode Int64 but found a string instead."},
        {R"({"id":1.5,"name":"n"})", format, "Parsed JSON number <1.5> does not fit in Int64."},
        {R"({"id":1,"name":"n")", format, "The given data was not valid JSON."},
    };
    for (const auto& c : cases) {
        try {
            (void)JSONDecoder().decode<Person>(c.json);
            ADD_FAILURE() << c.json;
        } catch (const DecodingError& error) {
            EXPECT_EQ(error.what(), c.what) << c.json;
            EXPECT_EQ(error.debugDescription().substr(0, c.description.size()), c.description) << c.json;
        }
    }
}

TEST(JSONDecoderKeyed, NestedFailureAtTheTopOfADeepValueStillNamesEveryStep) {
    std::string json;
    std::string path;
    for (int level = 0; level < 200; ++level) {
        json += R"({"id":1,"name":"n","friends":[)";
        path += level == 0 ? "friends[0]" : ".friends[0]";
    }
    json += R"({"id":"x","name":"n"})";
    for (int level = 0; level < 200; ++level) {
        json += "]}";
    }
    expectFailure<Person>(json, Failure::typeMismatch, path + ".id");
}

// Reads "k0" ... "k39" in order, each optional, so that objects of every size
// go through the field index the same way.
struct Wide {
    std::vector<std::optional<std::int64_t>> values;

    static Wide decode(Decoder& decoder) {
        auto c = decoder.container();
        Wide wide;
        for (int i = 0; i < 40; ++i) {
            wide.values.push_back(
                c.decodeIfPresent<std::int64_t>(std::string("k").append(std::to_string(i))));
        }
        return wide;
    }
};

TEST(JSONDecoderKeyed, FindsEveryKeyInAnyOrderAndTheLastOfARepeatedOne) {
    struct Case {
        std::string_view description;
        std::vector<int> keys;  // the keys of the object, in its order; the value of k<n> is n * 10 + place
    };
    std::vector<Case> cases = {{"empty", {}}, {"one", {3}}, {"eight, backwards", {7, 6, 5, 4, 3, 2, 1, 0}}};
    std::vector<int> forty;
    std::vector<int> reversed;
    std::vector<int> sparse;
    for (int i = 0; i < 40; ++i) {
        forty.push_back(i);
        reversed.insert(reversed.begin(), i);
        if (i % 3 == 0) sparse.push_back(i);
    }
    cases.push_back({"forty in order", forty});
    cases.push_back({"forty backwards", reversed});
    cases.push_back({"every third", sparse});
    cases.push_back({"small, repeated", {1, 2, 1}});
    // Keys that begin, end and measure alike, which a quick summary of a small object cannot tell apart.
    cases.push_back({"small, alike at both ends", {11, 21, 31}});
    cases.push_back({"small, alike at both ends, repeated", {11, 21, 11}});
    std::vector<int> repeated = forty;
    repeated.insert(repeated.end(), {5, 39, 0});
    cases.push_back({"large, repeated", repeated});

    for (const auto& c : cases)
    for (const std::string_view start : {R"({"unknown":true)", R"({"unknown":1e400)"}) {
        SCOPED_TRACE(c.description);
        std::string json(start);
        std::vector<std::optional<std::int64_t>> expected(40);
        for (std::size_t place = 0; place < c.keys.size(); ++place) {
            const int key = c.keys[place];
            const auto value = static_cast<std::int64_t>(key * 10 + static_cast<int>(place));
            json.append(",\"k").append(std::to_string(key)).append("\":").append(std::to_string(value));
            expected[static_cast<std::size_t>(key)] = value;
        }
        json += "}";
        EXPECT_EQ(JSONDecoder().decode<Wide>(json).values, expected);
    }
}

TEST(JSONDecoderKeyed, KeysAreUnescaped) {
    for (const std::string_view json : {R"({"\u0076":"x"})", R"({"\u0076":"x","huge":1e400})",
                                        R"({"v\"":"y","v":"x"})", R"({"huge":1e400,"v\"":"y","v":"x"})"}) {
        EXPECT_EQ(JSONDecoder().decode<Field<std::string>>(json).v, "x") << json;
    }
}

TEST(JSONDecoderKeyed, ContainsNilAndNestedContainers) {
    struct Probe {
        static Probe decode(Decoder& decoder) {
            auto c = decoder.container();
            EXPECT_TRUE(c.contains("a"));
            EXPECT_TRUE(c.contains("n"));
            EXPECT_FALSE(c.contains("missing"));
            EXPECT_TRUE(c.decodeNil("n"));
            EXPECT_FALSE(c.decodeNil("a"));
            auto inner = c.nestedContainer("o");
            EXPECT_EQ(inner.decode<std::string>("s"), "x");
            EXPECT_EQ(inner.codingPath().description(), "o");
            auto list = c.nestedUnkeyedContainer("l");
            EXPECT_EQ(list.count(), 2u);
            EXPECT_EQ(list.decode<std::int64_t>(), 1);
            EXPECT_EQ(list.decode<std::int64_t>(), 2);
            EXPECT_TRUE(list.isAtEnd());
            EXPECT_THROW((void)c.decodeNil("missing"), DecodingError);
            EXPECT_THROW((void)c.nestedContainer("a"), DecodingError);
            return {};
        }
    };
    (void)JSONDecoder().decode<Probe>(std::string_view(R"({"a":1,"n":null,"o":{"s":"x"},"l":[1,2]})"));
}

TEST(JSONDecoderUnkeyed, ReadsElementsInOrderAndFailsPastTheEnd) {
    struct Pair {
        std::int64_t first = 0;
        std::optional<std::string> second;

        static Pair decode(Decoder& decoder) {
            auto list = decoder.unkeyedContainer();
            Pair pair;
            pair.first = list.decode<std::int64_t>();
            if (!list.decodeNil()) {
                pair.second = list.decode<std::string>();
            }
            return pair;
        }
    };
    const auto full = JSONDecoder().decode<Pair>(std::string_view(R"([1,"two",3])"));
    EXPECT_EQ(full.first, 1);
    EXPECT_EQ(full.second, "two");
    EXPECT_FALSE(JSONDecoder().decode<Pair>(std::string_view("[1,null]")).second.has_value());
    expectFailure<Pair>("[1]", Failure::valueNotFound, "[1]");
    expectFailure<Pair>("[]", Failure::valueNotFound, "[0]");
    expectFailure<Pair>("[1,2]", Failure::typeMismatch, "[1]");
    expectFailure<Pair>(R"({"0":1})", Failure::typeMismatch, "the top level");
}

TEST(JSONDecoderUnkeyed, LongListsKeepEveryElement) {
    // Past 2^24 elements the parser stops counting; below that the count is its own.
    std::string json = "[";
    for (int i = 0; i < 100000; ++i) {
        json.append(i ? "," : "").append(std::to_string(i));
    }
    json += "]";
    const auto values = JSONDecoder().decode<std::vector<std::int64_t>>(json);
    ASSERT_EQ(values.size(), 100000u);
    EXPECT_EQ(values.back(), 99999);
}

TEST(JSONDecoderSingleValue, LenientTextEnumeration) {
    struct Case {
        std::string_view json;
        Kind::Value expected;
    };
    for (const auto& c : {Case{R"("image")", Kind::image}, Case{R"("text")", Kind::text},
                          Case{R"("Image")", Kind::unknown}, Case{R"("gif")", Kind::unknown},
                          Case{R"("unknown")", Kind::unknown}, Case{R"("")", Kind::unknown}}) {
        EXPECT_EQ(JSONDecoder().decode<Kind>(c.json).value, c.expected) << c.json;
    }
    expectFailure<Kind>("3", Failure::typeMismatch, "the top level");
    expectFailure<Kind>("null", Failure::valueNotFound, "the top level");

    struct Nil {
        bool isNil = false;
        static Nil decode(Decoder& decoder) { return {decoder.singleValueContainer().decodeNil()}; }
    };
    EXPECT_TRUE(JSONDecoder().decode<Nil>(std::string_view("null")).isNil);
    EXPECT_FALSE(JSONDecoder().decode<Nil>(std::string_view("0")).isNil);
}

TEST(JSONDecoderMalformed, BadDocumentsAreDataCorrupted) {
    const std::string deepLists = std::string(10000, '[') + std::string(10000, ']');
    std::string deepObjects;
    for (int i = 0; i < 10000; ++i)
        deepObjects += R"({"inner":[)";
    for (int i = 0; i < 10000; ++i)
        deepObjects += "]}";
    const std::string_view cases[] = {
        "",
        Data().view(),
        "   ",
        "{",
        R"({"id":1,})",
        "[1,]",
        R"({"id":1}x)",
        R"({"id":01})",
        R"({id:1})",
        "NaN",
        R"({"a":1.})",
        R"({"a":.5})",
        R"({"a":-})",
        R"({"a":1e})",
        R"({"a":+1})",
        R"({"a":0x10})",
        "{\"a\":\"\xff\"}",
        "{\"a\":\"\xC3\"}",
        R"({"a":"\ud800"})",
        R"({"a":"\x"})",
        "{\"a\":\"tab\there\"}",
        deepLists,
        deepObjects,
    };
    for (const auto json : cases) {
        expectFailure<Nest>(json, Failure::dataCorrupted, "the top level");
    }
}

// A number that no type holds (beyond 64 bits, beyond a double) makes the
// document no less valid: the reading that keeps such numbers as their text
// must still refuse everything else that is not JSON.
TEST(JSONDecoderMalformed, ADocumentWithAHugeNumberIsCheckedAsAnyOther) {
    const std::string deep = "[1e400," + std::string(600, '[') + std::string(600, ']') + "]";
    const std::string_view cases[] = {
        R"({"a":1e400,"b":"\x"})",
        "{\"a\":1e400,\"b\":\"tab\there\"}",
        "{\"a\":1e400,\"b\":\"\xff\"}",
        R"({"a":1e400,"b":"\ud800"})",
        R"({"a":1e400,"b":tru})",
        R"({"a":1e400,"b":nul})",
        R"({"a":1e400,"b":falsey})",
        R"({"a":1e400 "b":1})",
        R"({"a":1e400,})",
        R"({"a":1e400,"b":01})",
        R"({"a":1e400,"b":1.})",
        R"({"a":1e400,"b":-})",
        R"({"a":1e400,"b":[1 2]})",
        R"({"a":1e400}x)",
        R"({"a":1e400}})",
        R"({"a":1e400)",
        R"([1e400,])",
        "1e400 1",
        "1e400x",
        deep,
    };
    for (const auto json : cases) {
        expectFailure<Nest>(json, Failure::dataCorrupted, "the top level");
    }
}

TEST(JSONDecoderMalformed, NestingUpToTheLimitDecodes) {
    std::string json;
    const std::size_t levels = JSONDecoder::maximumDepth / 2;  // each level is an object and a list
    for (std::size_t i = 0; i < levels; ++i)
        json += R"({"inner":[)";
    for (std::size_t i = 0; i < levels; ++i)
        json += "]}";
    const Nest nest = JSONDecoder().decode<Nest>(json);
    std::size_t depth = 0;
    for (const Nest* level = &nest; level->inner && !level->inner->empty(); level = &level->inner->front()) {
        ++depth;
    }
    EXPECT_EQ(depth, levels - 1);
    expectFailure<Nest>(std::string("[").append(json).append("]"), Failure::dataCorrupted, "the top level");
}

struct RuleFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A rule of the kind the API decoder installs: dates as "day N" texts.
JSONDecoder dayDecoder(int* calls = nullptr) {
    JSONDecoder decoder;
    decoder.dateDecodingStrategy = JSONDecoder::DateDecodingStrategy::custom([calls](Decoder& d) {
        if (calls) ++*calls;
        const auto text = d.singleValueContainer().decode<std::string>();
        if (text.rfind("day ", 0) != 0) {
            throw RuleFailure("invalid date: " + text);
        }
        return Date::fromTimeIntervalSinceReferenceDate(86400.0 * std::stod(text.substr(4)));
    });
    return decoder;
}

std::string noteWithDates(std::string_view date, std::string_view edited) {
    std::string json = R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"t","kind":"text","date":)";
    json += date;
    if (!edited.empty()) {
        json += R"(,"editedAt":)";
        json += edited;
    }
    return json + "}";
}

TEST(JSONDecoderDates, ACustomRuleReadsEveryDateAndItsErrorsPassUnchanged) {
    int calls = 0;
    const JSONDecoder decoder = dayDecoder(&calls);
    const auto note = decoder.decode<Note>(noteWithDates(R"("day 2")", R"("day 3")"));
    EXPECT_EQ(note.date, Date::fromTimeIntervalSinceReferenceDate(2 * 86400.0));
    EXPECT_EQ(note.editedAt, Date::fromTimeIntervalSinceReferenceDate(3 * 86400.0));
    EXPECT_EQ(calls, 2);

    calls = 0;
    EXPECT_FALSE(decoder.decode<Note>(noteWithDates(R"("day 1")", "null")).editedAt.has_value());
    EXPECT_EQ(calls, 1) << "a null optional date never reaches the rule";

    EXPECT_THROW((void)decoder.decode<Note>(noteWithDates(R"("yesterday")", "")), RuleFailure);
    expectFailure<Note>(noteWithDates("60", ""), Failure::typeMismatch, "date", decoder);
    expectFailure<Note>(noteWithDates("null", ""), Failure::valueNotFound, "date", decoder);
    // What the default coding cached does not read through the rule, and the other way round.
    expectFailure<Note>(noteWithDates(R"("day 1")", ""), Failure::typeMismatch, "date");
}

TEST(JSONDecoderDates, ARuleMayDecodeJSONItself) {
    JSONDecoder decoder;
    decoder.dateDecodingStrategy = JSONDecoder::DateDecodingStrategy::custom([](Decoder& d) {
        const auto inner = d.singleValueContainer().decode<std::string>();
        return JSONDecoder().decode<Date>(inner);
    });
    const auto note = decoder.decode<Note>(noteWithDates(R"("120")", R"("7.5")"));
    EXPECT_EQ(note.date, Date::fromTimeIntervalSinceReferenceDate(120));
    EXPECT_EQ(note.editedAt, Date::fromTimeIntervalSinceReferenceDate(7.5));
    // The inner decode's error is the rule's error, and passes unchanged.
    expectFailure<Note>(noteWithDates(R"("120")", R"("7x")"), Failure::dataCorrupted, "the top level",
                        decoder);
}

}  // namespace
}  // namespace foundation
