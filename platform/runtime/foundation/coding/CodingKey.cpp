#include "platform/runtime/foundation/coding/CodingKey.hpp"

namespace foundation {

CodingKey CodingKey::index(std::size_t position) {
    return CodingKey("Index " + std::to_string(position), position);
}

}  // namespace foundation
