#pragma once

#include "tools/shortcuts/ActionRunner.hpp"

#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace shortcuts_tool {

// Plays the part of Shortcuts. `shortcuts action ...` runs the application's own actions (see
// ActionRunner.hpp); `shortcuts run INTENT ...` runs one SiriKit intent in the intents extension:
// it starts the intents extension,
// fills the intent from the command line, asks for the options and default
// of each parameter with a dynamic option list, for the resolution of each
// resolvable parameter, then for the handling, printing every step and what
// the extension prints. Exits 0 when the response code is success (4). An
// extension that does not answer a step within its bound (--timeout, else
// the host's) is stopped, and the run fails naming the step.
class ShortcutsRunner {
public:
    static constexpr int success = 0;
    static constexpr int failure = 1;  // the intent failed or could not be run
    static constexpr int usageFailure = 2;

    // `extension` is the extension's executable when no --extension is given; `application` reaches
    // the application for its actions, which ask what they lack on `input` when it is `interactive`.
    ShortcutsRunner(std::ostream& output, std::ostream& errors, std::string extension, ActionRunner::Connect application,
                    std::istream& input, bool interactive)
        : output_(output),
          errors_(errors),
          extension_(std::move(extension)),
          application_(std::move(application)),
          input_(input),
          interactive_(interactive) {}

    // The arguments after the program's name; returns the exit status.
    int run(std::span<const std::string_view> arguments);

private:
    void printUsage(std::ostream& stream) const;
    int runActions(std::span<const std::string_view> arguments);

    std::ostream& output_;
    std::ostream& errors_;
    std::string extension_;
    ActionRunner::Connect application_;
    std::istream& input_;
    bool interactive_;
};

}  // namespace shortcuts_tool
