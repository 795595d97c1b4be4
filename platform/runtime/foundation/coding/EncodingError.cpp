#include "platform/runtime/foundation/coding/EncodingError.hpp"

namespace foundation {

EncodingError::EncodingError(Kind kind, CodingPath codingPath, std::string debugDescription)
    : kind_(kind), codingPath_(std::move(codingPath)), debugDescription_(std::move(debugDescription)) {}

const char* EncodingError::what() const noexcept {
    return "The data couldn\u2019t be written because it isn\u2019t in the correct format.";
}

}  // namespace foundation
