#pragma once

#include "platform/runtime/foundation/coding/DecodingError.hpp"

namespace testsupport {

// The case's name, for failure messages that say which case was expected.
inline const char* name(foundation::DecodingError::Kind kind) {
    using Kind = foundation::DecodingError::Kind;
    switch (kind) {
    case Kind::typeMismatch:
        return "typeMismatch";
    case Kind::valueNotFound:
        return "valueNotFound";
    case Kind::keyNotFound:
        return "keyNotFound";
    case Kind::dataCorrupted:
        return "dataCorrupted";
    }
    return "?";
}

}  // namespace testsupport
