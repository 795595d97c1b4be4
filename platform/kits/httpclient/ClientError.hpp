#pragma once

#include <stdexcept>
#include <string>

namespace httpclient {

// A request the client library reports as failed: the transfer could not
// be made, was cut off or timed out, a part's file could not be read, the
// server redirected it in a way it does not follow, or the reply was larger
// than the largest reply held. what() is its description.
class ClientError : public std::runtime_error {
public:
    explicit ClientError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace httpclient
