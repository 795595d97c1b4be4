#include "platform/runtime/foundation/coding/CodingPath.hpp"

namespace foundation {

std::string CodingPath::description() const {
    if (keys_.empty()) {
        return "the top level";
    }
    std::string text;
    for (const auto& key : keys_) {
        if (const auto position = key.intValue()) {
            text += '[' + std::to_string(*position) + ']';
        } else {
            if (!text.empty()) {
                text += '.';
            }
            text += key.stringValue();
        }
    }
    return text;
}

}  // namespace foundation
