#pragma once

#include <stdexcept>
#include <string>

namespace intents {

// An archive that cannot be read back: not an archive, a class this process
// does not know (secure decoding refuses it rather than guessing), or an
// object of another class than the one asked for. what() says which.
class ArchiveError : public std::runtime_error {
public:
    explicit ArchiveError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace intents
