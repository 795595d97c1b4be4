#pragma once

#include <optional>
#include <string>

namespace foundation {

// One name-value pair of a URL's query, decoded. An item without a value is
// written as its bare name; an item with an empty value as the name and "=".
struct URLQueryItem {
    std::string name;
    std::optional<std::string> value;

    friend bool operator==(const URLQueryItem&, const URLQueryItem&) = default;
};

}  // namespace foundation
