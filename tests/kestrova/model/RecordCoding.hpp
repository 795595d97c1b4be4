#pragma once

#include "tests/support/DecodingErrorNames.hpp"

// What the record tests share: default JSON coding in one call, decode
// failures checked by kind and coding path, and objects built from fields so
// that a table of cases can add, override or leave out one key at a time.

#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/core/Hasher.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONEncoder.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::fixtures {

using Failure = foundation::DecodingError::Kind;

using testsupport::name;

// `object` (a JSON object's text) with `fields` put in before its closing
// brace. The decoder takes the last value of a repeated key, so a field can
// also override one the object already has.
std::string withFields(std::string_view object, std::string_view fields);

// The JSON object of these "key":value fields, in this order.
std::string objectOf(const std::vector<std::string_view>& fields);

template <typename T>
T decoded(std::string_view json) {
    return foundation::JSONDecoder().decode<T>(json);
}

template <typename T>
std::string encoded(const T& value) {
    return std::string(foundation::JSONEncoder().encode(value).view());
}

template <typename T>
T roundTripped(const T& value) {
    return decoded<T>(encoded(value));
}

template <typename T>
std::size_t hashOf(const T& value) {
    return foundation::hashValue(value);
}

template <typename T>
void expectDecodingFailure(std::string_view json, Failure kind, std::string_view path) {
    SCOPED_TRACE(std::string(json.substr(0, 160)));
    try {
        (void)decoded<T>(json);
        ADD_FAILURE() << "decoded, expected " << name(kind) << " at " << path;
    } catch (const foundation::DecodingError& error) {
        EXPECT_STREQ(name(error.kind()), name(kind)) << error.debugDescription();
        EXPECT_EQ(error.codingPath().description(), path) << error.debugDescription();
    }
}

// One "key":value pair that a decode must have.
struct RequiredField {
    std::string_view key;
    std::string_view value;
};

// Where a record's object sits inside another record: the enclosing JSON
// around it and the coding path down to it.
struct Enclosure {
    std::string_view before;
    std::string_view after;
    std::string_view path;  // "" at the top level, else ends in "."
};

inline constexpr Enclosure topLevel{"", "", ""};

// The object of `fields` decodes as T; without any one of them, or with it
// null, the decode fails at that key.
template <typename T>
void expectEachFieldRequired(const std::vector<RequiredField>& fields, const Enclosure& at = topLevel) {
    const auto inside = [&](const std::string& object) {
        return std::string(at.before).append(object).append(at.after);
    };
    std::vector<std::string> complete;
    for (const auto& field : fields) {
        complete.push_back(std::string("\"").append(field.key).append("\":").append(field.value));
    }
    const auto objectWith = [&](std::size_t changed, const std::string* replacement) {
        std::vector<std::string_view> parts;
        for (std::size_t i = 0; i < complete.size(); ++i) {
            if (i != changed) {
                parts.emplace_back(complete[i]);
            } else if (replacement) {
                parts.emplace_back(*replacement);
            }
        }
        return objectOf(parts);
    };
    const std::string whole = inside(objectWith(fields.size(), nullptr));
    EXPECT_NO_THROW((void)decoded<T>(whole)) << whole;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string path = std::string(at.path).append(fields[i].key);
        expectDecodingFailure<T>(inside(objectWith(i, nullptr)), Failure::keyNotFound, path);
        const std::string null = std::string("\"").append(fields[i].key).append("\":null");
        expectDecodingFailure<T>(inside(objectWith(i, &null)), Failure::valueNotFound, path);
    }
}

// Fields added to (or overriding those of) one object, and how its decode fails.
struct FailureCase {
    std::string_view fields;
    Failure kind;
    std::string_view path;
};

template <typename T>
void expectFailures(std::string_view object, std::initializer_list<FailureCase> cases) {
    for (const auto& c : cases) {
        expectDecodingFailure<T>(withFields(object, c.fields), c.kind, c.path);
    }
}

// Fields added to (or overriding those of) one object, and the record they
// must decode to.
template <typename T>
struct FieldCase {
    std::string_view fields;
    void (*expect)(T&);
};

template <typename T>
void expectFieldCases(std::string_view object, std::initializer_list<FieldCase<T>> cases) {
    const T base = decoded<T>(object);
    for (const auto& c : cases) {
        const std::string json = withFields(object, c.fields);
        SCOPED_TRACE(json);
        T expected = base;
        c.expect(expected);
        try {
            EXPECT_TRUE(decoded<T>(json) == expected);
        } catch (const foundation::DecodingError& error) {
            ADD_FAILURE() << error.debugDescription() << " at " << error.codingPath().description();
        }
    }
}

// Leaves the record as the base object decoded it.
template <typename T>
void unchanged(T&) {}

// One change to a record, named for the messages.
template <typename T>
struct Change {
    std::string_view what;
    void (*apply)(T&);
};

// Each change makes the record unequal to `base` and, as a rule for a good
// hash, hash differently.
template <typename T>
void expectEachChangeUnequal(const T& base, std::initializer_list<Change<T>> changes) {
    for (const auto& change : changes) {
        T changed = base;
        change.apply(changed);
        EXPECT_FALSE(changed == base) << change.what;
        EXPECT_FALSE(base == changed) << change.what;
        EXPECT_NE(hashOf(changed), hashOf(base)) << change.what;
    }
}

// Each change leaves the record equal to `base`, with the same hash.
template <typename T>
void expectEachChangeEqual(const T& base, std::initializer_list<Change<T>> changes) {
    for (const auto& change : changes) {
        T changed = base;
        change.apply(changed);
        EXPECT_TRUE(changed == base) << change.what;
        EXPECT_EQ(hashOf(changed), hashOf(base)) << change.what;
    }
}

}  // namespace kestrova::fixtures
