#pragma once

#include <string_view>

namespace fuzzsupport {

// A broken invariant is a finding: says which target broke which promise for
// which input (its bytes escaped, so that a binary input stays readable), then
// aborts, so that libFuzzer keeps the input as a crash.
[[noreturn]] void fail(std::string_view target, std::string_view what, std::string_view input);

}  // namespace fuzzsupport
