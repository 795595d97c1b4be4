#pragma once

#include <simdjson.h>

#include <cstdint>

namespace bench {

// Visits every value under `element`, reading each key's and string's view,
// each number and each bool into a checksum: the least any reader that
// builds a DOM first must do on top of the parse.
std::uint64_t checksumOfEveryValue(simdjson::dom::element element);

}  // namespace bench
