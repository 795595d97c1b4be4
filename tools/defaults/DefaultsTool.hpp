#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace defaults_tool {

struct Command;

// The `defaults` command: reads and writes a defaults suite of the app group
// from a shell, for looking at what the application and its extensions share
// and for setting it up by hand.
class DefaultsTool {
public:
    // Exit statuses.
    static constexpr int success = 0;
    static constexpr int failure = 1;  // no such key or suite, or the suite cannot be used
    static constexpr int usageFailure = 2;

    // `input` is read only for a value given as "-".
    DefaultsTool(std::istream& input, std::ostream& output, std::ostream& errors)
        : input_(input), output_(output), errors_(errors) {}

    // The arguments after the program's name; returns the exit status.
    int run(std::span<const std::string_view> arguments);

private:
    int execute(const Command& command);
    int fail(std::string_view message);
    void printUsage(std::ostream& stream) const;
    // All of `input_`; no value, and what went wrong in `problem`, when it
    // cannot be read.
    std::optional<std::string> readInput(std::string& problem);

    std::istream& input_;
    std::ostream& output_;
    std::ostream& errors_;
};

}  // namespace defaults_tool
