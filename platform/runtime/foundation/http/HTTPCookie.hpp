#pragma once

#include <string>

namespace foundation {

// One cookie as a cookie store hands it out.
struct HTTPCookie {
    std::string name;
    std::string value;
    std::string domain;
    std::string path = "/";

    friend bool operator==(const HTTPCookie&, const HTTPCookie&) = default;
};

}  // namespace foundation
