#pragma once

#include <stdexcept>

namespace updater {

// An update feed that is no RSS document; what() says where it broke.
class AppcastError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace updater
