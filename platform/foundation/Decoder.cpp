#include "platform/foundation/Decoder.hpp"

#include "platform/foundation/internal/DecodingContext.hpp"
#include "platform/foundation/DecodingError.hpp"
#include "platform/foundation/KeyedDecodingContainer.hpp"
#include "platform/foundation/SingleValueDecodingContainer.hpp"

#include <charconv>
#include <cmath>
#include <limits>

namespace foundation {
namespace {

using simdjson::internal::tape_ref;
using simdjson::internal::tape_type;

const char* describe(tape_type type) {
    switch (type) {
    case tape_type::STRING:
        return "a string";
    case tape_type::INT64:
    case tape_type::UINT64:
    case tape_type::DOUBLE:
        return "a number";
    case tape_type::TRUE_VALUE:
    case tape_type::FALSE_VALUE:
        return "a Boolean";
    case tape_type::START_OBJECT:
        return "an object";
    case tape_type::START_ARRAY:
        return "a list";
    case tape_type::NULL_VALUE:
        return "null";
    default:
        return "no value";
    }
}

std::string numberText(const tape_ref& value) {
    char buffer[32];
    std::to_chars_result result{};
    switch (value.tape_ref_type()) {
    case tape_type::INT64:
        result = std::to_chars(buffer, buffer + sizeof buffer, value.next_tape_value<std::int64_t>());
        break;
    case tape_type::UINT64:
        result = std::to_chars(buffer, buffer + sizeof buffer, value.next_tape_value<std::uint64_t>());
        break;
    default:
        result = std::to_chars(buffer, buffer + sizeof buffer, value.next_tape_value<double>());
        break;
    }
    return std::string(buffer, result.ptr);
}

// Null where a value is required is a missing value; any other type is a mismatch.
[[noreturn]] void throwUnexpected(const tape_ref& value, const CodingPathNode& node,
                                  std::string_view expected) {
    const tape_type type = value.tape_ref_type();
    if (type == tape_type::NULL_VALUE) {
        throw DecodingError(DecodingError::Kind::valueNotFound, node.path(),
                            "Expected " + std::string(expected) + " value but found null instead.");
    }
    throw DecodingError(
        DecodingError::Kind::typeMismatch, node.path(),
        "Expected to decode " + std::string(expected) + " but found " + describe(type) + " instead.");
}

[[noreturn]] void throwDoesNotFit(const tape_ref& value, const CodingPathNode& node, std::string_view type) {
    throw DecodingError(
        DecodingError::Kind::dataCorrupted, node.path(),
        "Parsed JSON number <" + numberText(value) + "> does not fit in " + std::string(type) + ".");
}

// Any JSON number as a double; integers beyond 2^53 round to the nearest double.
double readNumber(const tape_ref& value, const CodingPathNode& node, std::string_view expected) {
    switch (value.tape_ref_type()) {
    case tape_type::INT64:
        return static_cast<double>(value.next_tape_value<std::int64_t>());
    case tape_type::UINT64:
        return static_cast<double>(value.next_tape_value<std::uint64_t>());
    case tape_type::DOUBLE:
        return value.next_tape_value<double>();
    default:
        throwUnexpected(value, node, expected);
    }
}

}  // namespace

KeyedDecodingContainer Decoder::container() const {
    if (context_->at(index_).tape_ref_type() != tape_type::START_OBJECT) {
        throwUnexpected(context_->at(index_), node_, "an object");
    }
    return KeyedDecodingContainer(*context_, index_, node_);
}

UnkeyedDecodingContainer Decoder::unkeyedContainer() const {
    if (context_->at(index_).tape_ref_type() != tape_type::START_ARRAY) {
        throwUnexpected(context_->at(index_), node_, "a list");
    }
    return UnkeyedDecodingContainer(*context_, index_, node_);
}

SingleValueDecodingContainer Decoder::singleValueContainer() const {
    return SingleValueDecodingContainer(*this);
}

bool Decoder::isNull() const {
    return context_->at(index_).tape_ref_type() == tape_type::NULL_VALUE;
}

bool Decoder::decodeBool() const {
    const tape_ref value = context_->at(index_);
    switch (value.tape_ref_type()) {
    case tape_type::TRUE_VALUE:
        return true;
    case tape_type::FALSE_VALUE:
        return false;
    default:
        throwUnexpected(value, node_, "Bool");
    }
}

// An integral number in any JSON spelling (3, 3.0, 3e0) is an integer, as on
// the other platform; a fraction or a value beyond 64 bits is not.
std::int64_t Decoder::decodeInt64() const {
    const tape_ref value = context_->at(index_);
    switch (value.tape_ref_type()) {
    case tape_type::INT64:
        return value.next_tape_value<std::int64_t>();
    case tape_type::UINT64:
        // The parser keeps a number here only when it is beyond the signed range.
        throwDoesNotFit(value, node_, "Int64");
    case tape_type::DOUBLE: {
        const double number = value.next_tape_value<double>();
        constexpr double limit = 9223372036854775808.0;  // 2^63, exactly representable
        if (std::trunc(number) == number && number >= -limit && number < limit) {
            return static_cast<std::int64_t>(number);
        }
        throwDoesNotFit(value, node_, "Int64");
    }
    default:
        throwUnexpected(value, node_, "Int64");
    }
}

int Decoder::decodeInt() const {
    const std::int64_t number = decodeInt64();
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        throwDoesNotFit(context_->at(index_), node_, "Int32");
    }
    return static_cast<int>(number);
}

double Decoder::decodeDouble() const {
    return readNumber(context_->at(index_), node_, "Double");
}

float Decoder::decodeFloat() const {
    const tape_ref value = context_->at(index_);
    const double number = readNumber(value, node_, "Float");
    // Beyond this a double no longer rounds to the largest float but to infinity;
    // short of it, the text the encoder writes for the largest float reads back.
    constexpr double firstBeyondFloat = 0x1.ffffffp+127;
    if (!(std::fabs(number) < firstBeyondFloat)) {
        throwDoesNotFit(value, node_, "Float");
    }
    return static_cast<float>(number);
}

std::string_view Decoder::stringView(const char* expected) const {
    const tape_ref value = context_->at(index_);
    if (value.tape_ref_type() != tape_type::STRING) {
        throwUnexpected(value, node_, expected);
    }
    return value.get_string_view();
}

std::string Decoder::decodeString() const {
    return std::string(stringView("String"));
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
        readNumber(context_->at(index_), node_, "Date (seconds since 2001-01-01)"));
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
