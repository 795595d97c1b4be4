#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace testsupport {

// What a body of `repeats` times `piece`, then `tail`, is in a content
// coding ("gzip", "deflate", "br", "zstd"; any other: the bytes as they
// are): made piece by piece, so that a bomb never exists decoded.
std::string encodedBody(std::string_view coding, std::string_view piece, std::size_t repeats, std::string_view tail);

}  // namespace testsupport
