#pragma once

#include <source_location>
#include <string_view>

namespace base {

// Prints where and why an invariant of this program broke, then aborts. Not
// for bad input or a bad environment: those get a clear error and the
// program goes on or exits; a broken invariant is a fault of the code.
[[noreturn]] void verificationFailed(const char* condition, std::string_view why,
                                     std::source_location where = std::source_location::current());

}  // namespace base

// VERIFY(condition, "why it must hold"): checked in every build type, release
// included, because going on past a broken invariant loses data.
#define VERIFY(condition, why)                                                  \
    do {                                                                        \
        if (!(condition)) [[unlikely]] {                                        \
            ::base::verificationFailed(#condition, (why));                      \
        }                                                                       \
    } while (false)

#define VERIFY_NOT_REACHED(why) ::base::verificationFailed("not reached", (why))
