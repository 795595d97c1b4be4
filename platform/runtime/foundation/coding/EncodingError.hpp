#pragma once

#include "platform/runtime/foundation/coding/CodingPath.hpp"

#include <exception>
#include <string>

namespace foundation {

// Why a value could not be encoded, and where.
class EncodingError : public std::exception {
public:
    enum class Kind {
        invalidValue,  // a value JSON cannot carry: a non-finite number, text that is no UTF-8, ...
    };

    EncodingError(Kind kind, CodingPath codingPath, std::string debugDescription);

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
