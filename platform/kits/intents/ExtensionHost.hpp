#pragma once

#include "platform/kits/intents/ExtensionAnswerBounds.hpp"
#include "platform/kits/intents/ExtensionProcess.hpp"
#include "platform/kits/intents/HandlerAnswer.hpp"
#include "platform/kits/intents/Intent.hpp"
#include "platform/kits/intents/IntentResponse.hpp"
#include "platform/kits/intents/Object.hpp"
#include "platform/kits/intents/ObjectCollection.hpp"
#include "platform/kits/intents/ResolutionResult.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace intents {

// The host side: starts an extension process, as the operating system would,
// and sends it one operation at a time over its standard streams
// (ExtensionMessage), waiting for each answer. What the extension prints on
// its standard output besides the answers goes, line by line, to `printed`;
// its standard error is the host's own.
//
// Every operation throws ExtensionError when the process ends before it
// answers (a fatal error in the extension, for instance) or answers with no
// answer, ExtensionTimeout, having killed the extension, when no answer comes
// within its bound, and ArchiveError when the answer cannot be decoded. No
// wait of the host is longer than a bound: an extension that hangs is
// stopped, never waited for.
class ExtensionHost {
public:
    using PrintedLine = std::function<void(std::string_view line)>;

    // command[0] is the extension's executable; it inherits the environment.
    ExtensionHost(std::vector<std::string> command, PrintedLine printed, ExtensionAnswerBounds bounds = {});
    // Closes the extension's input and waits for it to end, as finish() does.
    ~ExtensionHost();
    ExtensionHost(const ExtensionHost&) = delete;
    ExtensionHost& operator=(const ExtensionHost&) = delete;

    // The answer, or none when the handler does not respond to the selector.
    std::optional<HandlerAnswer> perform(std::string_view selector, const std::shared_ptr<Intent>& intent);

    std::shared_ptr<ResolutionResult> resolve(const std::shared_ptr<Intent>& intent, std::string_view parameter);
    // The handler's collection; its error text, or no collection, is thrown as ExtensionError.
    std::shared_ptr<ObjectCollection> provideOptions(const std::shared_ptr<Intent>& intent, std::string_view parameter);
    // None when the handler offers no default.
    std::shared_ptr<Object> defaultValue(const std::shared_ptr<Intent>& intent, std::string_view parameter);
    std::shared_ptr<IntentResponse> handle(const std::shared_ptr<Intent>& intent);

    // Closes the extension's input and waits, for as long as the bound of a
    // query, for it to end, then kills it: its exit status, or 128 plus the
    // signal that ended it.
    int finish();

private:
    HandlerAnswer require(std::string_view selector, const std::shared_ptr<Intent>& intent);

    ExtensionAnswerBounds bounds_;
    ExtensionProcess process_;
    std::int64_t nextId_ = 1;
};

}  // namespace intents
