#pragma once

#include "platform/runtime/foundation/core/Data.hpp"
#include "platform/runtime/foundation/coding/JSONWriter.hpp"
#include "platform/runtime/foundation/coding/SingleValueEncodingContainer.hpp"

namespace foundation {

// Writes values as compact JSON with the other platform's default rules: keys
// in the order the records write them, optional fields without a value left
// out, data as Base64 text, dates as seconds since 2001-01-01 00:00:00 UTC,
// non-finite numbers refused. Nothing is returned from a failed encode.
class JSONEncoder {
public:
    template <typename T>
    [[nodiscard]] Data encode(const T& value) const {
        JSONWriter writer;
        Encoder root(writer, CodingPathNode());
        root.encode(value);
        return writer.take();
    }
};

}  // namespace foundation
