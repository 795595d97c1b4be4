#pragma once

#include <functional>
#include <string>

namespace concurrency {

// A programming fault in the use of a checked continuation.
struct ContinuationFault {
    enum class Kind { resumedTwice, leaked };

    Kind kind;
    // The name the continuation was made with, such as "data(for:)".
    std::string name;

    // "continuation data(for:) resumed more than once", "continuation data(for:) leaked without being
    // resumed".
    [[nodiscard]] std::string message() const;

    using Reporter = std::function<void(const ContinuationFault&)>;

    // Replaces the reporter and returns the one before; an empty reporter brings back the default,
    // which prints the message on standard error and, for a second resume, stops the process as a
    // failed VERIFY does. Reporters may be called on any thread.
    static Reporter setReporter(Reporter reporter);
    static void report(const ContinuationFault& fault);
};

}  // namespace concurrency
