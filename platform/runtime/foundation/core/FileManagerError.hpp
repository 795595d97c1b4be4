#pragma once

#include <string>
#include <system_error>

namespace foundation {

// A file-manager request the system refused. code().value() is the errno;
// what() names the operation and the path, then the system's reason.
class FileManagerError : public std::system_error {
public:
    FileManagerError(int errorNumber, const std::string& context)
        : std::system_error(errorNumber, std::generic_category(), context) {}
};

}  // namespace foundation
