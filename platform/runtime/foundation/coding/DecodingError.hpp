#pragma once

#include "platform/runtime/foundation/coding/CodingPath.hpp"

#include <exception>
#include <string>

namespace foundation {

// Why a value could not be decoded, and where. The coding path always leads
// to the value that failed, for a missing key too (its last step is the key).
class DecodingError : public std::exception {
public:
    enum class Kind {
        typeMismatch,   // a JSON value of another type than the one asked for
        valueNotFound,  // null, or no further element, where a value is required
        keyNotFound,    // a required key is absent
        dataCorrupted,  // not JSON, too deep, or a value that does not fit its type
    };

    DecodingError(Kind kind, CodingPath codingPath, std::string debugDescription);

    [[nodiscard]] Kind kind() const noexcept { return kind_; }
    [[nodiscard]] const CodingPath& codingPath() const noexcept { return codingPath_; }
    // What went wrong, for developers and logs.
    [[nodiscard]] const std::string& debugDescription() const noexcept { return debugDescription_; }
    // What went wrong, for the user.
    [[nodiscard]] const char* what() const noexcept override;

private:
    Kind kind_;
    CodingPath codingPath_;
    std::string debugDescription_;
};

}  // namespace foundation
