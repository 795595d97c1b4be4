#pragma once

#include <string_view>

namespace base {

// Stops the process for a programming error the code itself declares
// impossible, naming the source it is reported for:
//
//     Orvane/IntentHandler:25: Fatal error: Unhandled intent type: <...>
//
// An empty message leaves the line at "...: Fatal error". The line goes to
// standard error, then the process aborts.
[[noreturn]] void fatalError(std::string_view message, std::string_view source, unsigned line);

}  // namespace base
