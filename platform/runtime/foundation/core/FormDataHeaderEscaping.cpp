#include "platform/runtime/foundation/core/FormDataHeaderEscaping.hpp"

namespace foundation {
namespace {

std::string escaped(std::string_view text, bool betweenQuotes) {
    std::string result;
    result.reserve(text.size() + 2);
    for (const char c : text) {
        switch (c) {
        case '"':
            result += betweenQuotes ? "%22" : "\"";
            break;
        case '\r':
            result += "%0D";
            break;
        case '\n':
            result += "%0A";
            break;
        default:
            result += c;
        }
    }
    return result;
}

}  // namespace

std::string FormDataHeaderEscaping::quotedValue(std::string_view text) {
    return escaped(text, true);
}

std::string FormDataHeaderEscaping::lineValue(std::string_view text) {
    return escaped(text, false);
}

std::string FormDataHeaderEscaping::contentDisposition(std::string_view name,
                                                       std::optional<std::string_view> fileName) {
    std::string disposition = "form-data; name=\"" + quotedValue(name) + '"';
    if (fileName) {
        disposition += "; filename=\"" + quotedValue(*fileName) + '"';
    }
    return disposition;
}

}  // namespace foundation
