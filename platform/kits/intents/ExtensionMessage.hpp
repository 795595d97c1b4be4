#pragma once

#include "platform/kits/intents/HandlerAnswer.hpp"
#include "platform/kits/intents/Intent.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace intents {

// One message between a host and an extension process, on one line of the
// extension's standard input (requests) or standard output (answers). A
// message line starts with the record separator (0x1E), so whatever else the
// extension prints on its standard output stays apart from the messages: the
// host passes those lines on as the extension's printed output.
struct ExtensionMessage {
    static constexpr char marker = '\x1e';

    std::int64_t id = 0;
    // Requests: the operation and the intent it is about.
    std::string selector;
    std::shared_ptr<Intent> intent;
    // Answers: whether the handler responds to the selector, and its answer.
    bool responds = false;
    HandlerAnswer answer;

    // The message as a line: the marker, compact JSON and a line feed.
    [[nodiscard]] std::string line() const;
    // Reads a line's JSON (without the marker); throws ArchiveError.
    static ExtensionMessage parse(std::string_view json);
};

}  // namespace intents
