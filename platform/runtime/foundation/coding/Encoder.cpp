#include "platform/runtime/foundation/coding/Encoder.hpp"

#include "platform/runtime/foundation/coding/EncodingError.hpp"
#include "platform/runtime/foundation/coding/JSONDecoder.hpp"
#include "platform/runtime/foundation/coding/JSONWriter.hpp"
#include "platform/runtime/foundation/coding/KeyedEncodingContainer.hpp"
#include "platform/runtime/foundation/coding/SingleValueEncodingContainer.hpp"
#include "platform/runtime/foundation/coding/UnkeyedEncodingContainer.hpp"

#include <cmath>
#include <stdexcept>

namespace foundation {
namespace {

std::string nonFiniteName(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    return value < 0 ? "-infinity" : "infinity";
}

}  // namespace

// Anything deeper would not decode again, and a record nested without end
// stops here rather than at the end of the stack.
void Encoder::enterContainer() {
    if (writer_->enter() > JSONDecoder::maximumDepth) {
        refuse("Values are nested more than " + std::to_string(JSONDecoder::maximumDepth) + " levels deep.");
    }
}

KeyedEncodingContainer Encoder::container() {
    if (state_ == State::empty) {
        enterContainer();
        writer_->beginObject();
        state_ = State::object;
    } else if (state_ != State::object) {
        throw std::logic_error("a value was asked for an object after it began as something else");
    }
    return KeyedEncodingContainer(*writer_, node_);
}

UnkeyedEncodingContainer Encoder::unkeyedContainer() {
    if (state_ != State::empty) {
        throw std::logic_error("a value is written as a list through one container, opened first");
    }
    enterContainer();
    writer_->beginList();
    state_ = State::list;
    return UnkeyedEncodingContainer(*writer_, node_);
}

SingleValueEncodingContainer Encoder::singleValueContainer() {
    if (state_ != State::empty) {
        throw std::logic_error("a single value is written through one container, opened first");
    }
    state_ = State::singleValue;
    return SingleValueEncodingContainer(*this);
}

void Encoder::wrote() {
    if (state_ != State::empty && state_ != State::singleValue) {
        throw std::logic_error("a single value is written once, and not into an object or a list");
    }
    state_ = State::written;
}

void Encoder::finish() {
    switch (state_) {
    case State::object:
        writer_->endObject();
        writer_->leave();
        break;
    case State::list:
        writer_->endList();
        writer_->leave();
        break;
    case State::written:
        break;
    case State::empty:
    case State::singleValue:
        if (node_.isRoot()) {
            refuse("The top-level value did not encode any values.");
        }
        writer_->beginObject();
        writer_->endObject();
        break;
    }
}

void Encoder::refuse(std::string description) const {
    throw EncodingError(EncodingError::Kind::invalidValue, node_.path(), std::move(description));
}

void Encoder::encodeBool(bool value) {
    wrote();
    writer_->boolean(value);
}

void Encoder::encodeInt64(std::int64_t value) {
    wrote();
    writer_->integer(value);
}

void Encoder::encodeDouble(double value) {
    if (!std::isfinite(value)) {
        refuse("Unable to encode Double." + nonFiniteName(value) + " directly in JSON.");
    }
    wrote();
    writer_->number(value);
}

void Encoder::encodeFloat(float value) {
    if (!std::isfinite(value)) {
        refuse("Unable to encode Float." + nonFiniteName(value) + " directly in JSON.");
    }
    wrote();
    writer_->number(value);
}

void Encoder::encodeString(std::string_view utf8) {
    wrote();
    if (!writer_->string(utf8)) {
        refuse("Unable to encode a string that is not valid UTF-8.");
    }
}

void Encoder::encodeDate(Date value) {
    const double seconds = value.timeIntervalSinceReferenceDate();
    if (!std::isfinite(seconds)) {
        refuse("Unable to encode a Date of " + nonFiniteName(seconds) + " seconds directly in JSON.");
    }
    wrote();
    writer_->number(seconds);
}

void Encoder::encodeNil() {
    wrote();
    writer_->null();
}

}  // namespace foundation
