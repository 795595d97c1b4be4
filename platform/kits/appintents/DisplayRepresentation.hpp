#pragma once

#include <optional>
#include <string>

namespace appintents {

// How an entity or a suggestion shows to the user: a title, and a subtitle when it has one.
struct DisplayRepresentation {
    std::string title;
    std::optional<std::string> subtitle;

    friend bool operator==(const DisplayRepresentation&, const DisplayRepresentation&) = default;
};

}  // namespace appintents
