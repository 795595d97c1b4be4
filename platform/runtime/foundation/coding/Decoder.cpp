#include "platform/runtime/foundation/coding/Decoder.hpp"

#include "platform/runtime/foundation/coding/internal/DecodingContext.hpp"
#include "platform/runtime/foundation/coding/internal/JSONNumber.hpp"
#include "platform/runtime/foundation/coding/DecodingError.hpp"
#include "platform/runtime/foundation/coding/KeyedDecodingContainer.hpp"
#include "platform/runtime/foundation/coding/SingleValueDecodingContainer.hpp"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>

namespace foundation {
namespace {

using Entry = JSONDocument::Entry;
using Kind = JSONDocument::Kind;

const char* describe(Kind kind) {
    switch (kind) {
    case Kind::string:
        return "a string";
    case Kind::integer:
    case Kind::largeInteger:
    case Kind::nearestDouble:
    case Kind::number:
        return "a number";
    case Kind::trueValue:
    case Kind::falseValue:
        return "a Boolean";
    case Kind::object:
        return "an object";
    case Kind::list:
        return "a list";
    case Kind::null:
        return "null";
    }
    return "no value";
}

// Null where a value is required is a missing value; any other type is a mismatch.
[[noreturn]] void throwUnexpected(const Entry& value, const CodingPathNode& node, std::string_view expected) {
    if (value.kind == Kind::null) {
        throw DecodingError(DecodingError::Kind::valueNotFound, node.path(),
                            "Expected " + std::string(expected) + " value but found null instead.");
    }
    throw DecodingError(DecodingError::Kind::typeMismatch, node.path(),
                        "Expected to decode " + std::string(expected) + " but found " +
                            describe(value.kind) + " instead.");
}

[[noreturn]] void throwDoesNotFit(const Entry& value, const CodingPathNode& node, std::string_view type) {
    char buffer[32];
    std::to_chars_result written{buffer, {}};
    std::string_view text;
    switch (value.kind) {
    case Kind::integer:
        written = std::to_chars(buffer, buffer + sizeof buffer, value.integer);
        break;
    case Kind::largeInteger:
        written = std::to_chars(buffer, buffer + sizeof buffer, value.largeInteger);
        break;
    case Kind::nearestDouble:
        written = std::to_chars(buffer, buffer + sizeof buffer, value.nearestDouble);
        break;
    default:
        text = value.view();
        break;
    }
    if (text.empty()) {
        text = std::string_view(buffer, static_cast<std::size_t>(written.ptr - buffer));
    }
    throw DecodingError(DecodingError::Kind::dataCorrupted, node.path(),
                        "Parsed JSON number <" + std::string(text) + "> does not fit in " + std::string(type) +
                            ".");
}

// The float nearest to the number that `nearest` is the nearest double of,
// when that is sure: the two roundings agree unless the double lies within
// one step of its own of a point halfway between two floats (or the float
// would be subnormal, where the halfway points lie elsewhere).
std::optional<float> floatFromNearestDouble(double nearest, const Entry& value, const CodingPathNode& node) {
    const double magnitude = std::fabs(nearest);
    if (magnitude == 0) {
        return static_cast<float>(nearest);
    }
    if (magnitude < static_cast<double>(std::numeric_limits<float>::min())) {
        throw JSONDocument::ExactNumbersNeeded();
    }
    // A double has 29 more significand bits than a float; a halfway point has
    // the highest of them set and the others clear.
    constexpr std::uint64_t extraBits = (std::uint64_t{1} << 29) - 1;
    constexpr std::uint64_t halfway = std::uint64_t{1} << 28;
    const std::uint64_t low = std::bit_cast<std::uint64_t>(nearest) & extraBits;
    if (low >= halfway - 1 && low <= halfway + 1) {
        throw JSONDocument::ExactNumbersNeeded();
    }
    const auto rounded = static_cast<float>(nearest);
    if (std::isinf(rounded)) {
        throwDoesNotFit(value, node, "Float");
    }
    return rounded;
}

// A number in any spelling as the nearest value of a floating type, rounded
// once from the number's exact value; beyond the type's range it does not fit.
template <typename Floating>
Floating readFloating(const Entry& value, const CodingPathNode& node, std::string_view expected,
                      std::string_view type) {
    switch (value.kind) {
    case Kind::integer:
        return static_cast<Floating>(value.integer);
    case Kind::largeInteger:
        return static_cast<Floating>(value.largeInteger);
    case Kind::nearestDouble:
        if constexpr (std::is_same_v<Floating, float>) {
            return *floatFromNearestDouble(value.nearestDouble, value, node);
        } else {
            return value.nearestDouble;
        }
    case Kind::number:
        break;
    default:
        throwUnexpected(value, node, expected);
    }
    const JSONNumber number(value.view());
    std::optional<Floating> nearest;
    if constexpr (std::is_same_v<Floating, float>) {
        nearest = number.nearestFloat();
    } else {
        nearest = number.nearestDouble();
    }
    if (!nearest) {
        throwDoesNotFit(value, node, type);
    }
    return *nearest;
}

// An integral number in any spelling (3, 3.0, 3e0) is an integer, as on the
// other platform, with every digit it has; a fraction or a value beyond 64
// bits is not.
std::int64_t readInteger(const Entry& value, const CodingPathNode& node, std::string_view type) {
    switch (value.kind) {
    case Kind::integer:
        return value.integer;
    case Kind::largeInteger:
        throwDoesNotFit(value, node, type);
    case Kind::nearestDouble:
        // A double with a fraction was a number with one; one without may
        // have lost its fraction or its last digits.
        if (std::trunc(value.nearestDouble) != value.nearestDouble) {
            throwDoesNotFit(value, node, type);
        }
        throw JSONDocument::ExactNumbersNeeded();
    case Kind::number:
        break;
    default:
        throwUnexpected(value, node, type);
    }
    const auto number = JSONNumber(value.view()).exactInt64();
    if (!number) {
        throwDoesNotFit(value, node, type);
    }
    return *number;
}

}  // namespace

void Decoder::expectObject() const {
    if (context_->at(index_).kind != Kind::object) {
        throwUnexpected(context_->at(index_), node_, "an object");
    }
}

KeyedDecodingContainer Decoder::container() const {
    expectObject();
    return KeyedDecodingContainer(*context_, index_, node_);
}

UnkeyedDecodingContainer Decoder::unkeyedContainer() const {
    if (context_->at(index_).kind != Kind::list) {
        throwUnexpected(context_->at(index_), node_, "a list");
    }
    return UnkeyedDecodingContainer(*context_, index_, node_);
}

SingleValueDecodingContainer Decoder::singleValueContainer() const {
    return SingleValueDecodingContainer(*this);
}

namespace {

// Records of a handful of fields, such as a comment's author: large values are
// rarely repeated, and comparing them would cost as much as reading them.
constexpr std::size_t sharedValueEntries = 48;

}  // namespace

std::uint64_t Decoder::sharingFingerprint() const {
    const JSONDocument& document = context_->document();
    const Kind kind = document.at(index_).kind;
    if ((kind != Kind::object && kind != Kind::list) || document.after(index_) - index_ > sharedValueEntries) {
        return 0;
    }
    return document.fingerprint(index_);
}

std::shared_ptr<void> Decoder::sharedRecord(const void* type, std::uint64_t fingerprint) const {
    return context_->shared(type, index_, fingerprint);
}

void Decoder::keepShared(const void* type, std::uint64_t fingerprint, std::shared_ptr<void> record) const {
    context_->share(type, index_, fingerprint, std::move(record));
}

bool Decoder::isNull() const {
    return context_->at(index_).kind == Kind::null;
}

bool Decoder::decodeBool() const {
    const Entry& value = context_->at(index_);
    switch (value.kind) {
    case Kind::trueValue:
        return true;
    case Kind::falseValue:
        return false;
    default:
        throwUnexpected(value, node_, "Bool");
    }
}

std::int64_t Decoder::decodeInt64() const {
    return readInteger(context_->at(index_), node_, "Int64");
}

int Decoder::decodeInt() const {
    const Entry& value = context_->at(index_);
    const std::int64_t number = readInteger(value, node_, "Int32");
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        throwDoesNotFit(value, node_, "Int32");
    }
    return static_cast<int>(number);
}

double Decoder::decodeDouble() const {
    return readFloating<double>(context_->at(index_), node_, "Double", "Double");
}

// Rounded once: through a double first, a number just above the halfway
// point between two floats could round to the lower one.
float Decoder::decodeFloat() const {
    return readFloating<float>(context_->at(index_), node_, "Float", "Float");
}

std::string_view Decoder::stringView(const char* expected) const {
    const Entry& value = context_->at(index_);
    if (value.kind != Kind::string) {
        throwUnexpected(value, node_, expected);
    }
    return value.view();
}

std::string Decoder::decodeString() const {
    return std::string(stringView("String"));
}

Text Decoder::decodeText() const {
    return context_->texts().make(stringView("String"));
}

Data Decoder::decodeData() const {
    auto data = Data::fromBase64(stringView("Data (Base64 text)"));
    if (!data) {
        throw DecodingError(DecodingError::Kind::dataCorrupted, node_.path(),
                            "Encountered Data is not valid Base64.");
    }
    return std::move(*data);
}

Date Decoder::decodeDate() const {
    if (const auto* rule = context_->dateRule()) {
        // A rule never sees null: a required date that is null is missing.
        if (isNull()) {
            throwUnexpected(context_->at(index_), node_, "Date");
        }
        Decoder value = *this;
        return (*rule)(value);
    }
    return Date::fromTimeIntervalSinceReferenceDate(
        readFloating<double>(context_->at(index_), node_, "Date (seconds since 2001-01-01)", "Date"));
}

UUID Decoder::decodeUUID() const {
    const auto uuid = UUID::fromString(stringView("UUID"));
    if (!uuid) {
        throw DecodingError(DecodingError::Kind::dataCorrupted, node_.path(),
                            "Attempted to decode UUID from invalid UUID string.");
    }
    return *uuid;
}

}  // namespace foundation
