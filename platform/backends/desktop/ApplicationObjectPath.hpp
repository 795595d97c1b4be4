#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace desktop {

// The object path at which GApplication serves an application id on the session bus.
inline std::string applicationObjectPath(std::string_view applicationId) {
    std::string path = "/" + std::string(applicationId);
    std::replace(path.begin(), path.end(), '.', '/');
    std::replace(path.begin(), path.end(), '-', '_');
    return path;
}

}  // namespace desktop
