#pragma once

#include <cstdint>

namespace kestrova {

// The code of a CreateEntryIntentResponse (responseCodeFromRawValue converts raw
// values). Backed by a 64-bit integer, so a code read back holds whatever
// integer was stored, in range or not.
enum class CreateEntryIntentResponseCode : std::int64_t {
    unspecified = 0,
    ready = 1,
    continueInApp = 2,
    inProgress = 3,
    success = 4,
    failure = 5,
    failureRequiringAppLaunch = 6,
};

}  // namespace kestrova
