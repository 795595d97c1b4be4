#include "platform/runtime/foundation/coding/DecodingError.hpp"

namespace foundation {

DecodingError::DecodingError(Kind kind, CodingPath codingPath, std::string debugDescription)
    : kind_(kind), codingPath_(std::move(codingPath)), debugDescription_(std::move(debugDescription)) {}

const char* DecodingError::what() const noexcept {
    switch (kind_) {
    case Kind::valueNotFound:
    case Kind::keyNotFound:
        return "The data couldn\u2019t be read because it is missing.";
    case Kind::typeMismatch:
    case Kind::dataCorrupted:
        break;
    }
    return "The data couldn\u2019t be read because it isn\u2019t in the correct format.";
}

}  // namespace foundation
