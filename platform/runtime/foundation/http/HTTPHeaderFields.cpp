#include "platform/runtime/foundation/http/HTTPHeaderFields.hpp"

#include <algorithm>

namespace foundation {
namespace {

// Field names are ASCII tokens, so ASCII case folding is the whole story.
char lowerASCII(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool namesEqual(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return lowerASCII(x) == lowerASCII(y); });
}

template <typename Fields>
auto find(Fields& fields, std::string_view name) {
    return std::ranges::find_if(fields, [name](const auto& field) { return namesEqual(field.first, name); });
}

}  // namespace

std::string_view HTTPHeaderFields::withoutOptionalWhitespace(std::string_view value) {
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

std::optional<std::string> HTTPHeaderFields::value(std::string_view name) const {
    const auto field = find(fields_, name);
    if (field == fields_.end()) {
        return std::nullopt;
    }
    return field->second;
}

void HTTPHeaderFields::set(std::string_view name, std::string_view value) {
    if (const auto field = find(fields_, name); field != fields_.end()) {
        field->second = value;
    } else {
        fields_.emplace_back(name, value);
    }
}

void HTTPHeaderFields::append(std::string_view name, std::string_view value, std::string_view separator) {
    if (const auto field = find(fields_, name); field != fields_.end()) {
        field->second.append(separator).append(value);
    } else {
        fields_.emplace_back(name, value);
    }
}

void HTTPHeaderFields::remove(std::string_view name) {
    if (const auto field = find(fields_, name); field != fields_.end()) {
        fields_.erase(field);
    }
}

}  // namespace foundation
