#include "platform/kits/intents/ExtensionHost.hpp"

#include "platform/kits/intents/ExtensionError.hpp"
#include "platform/kits/intents/ExtensionMessage.hpp"
#include "platform/kits/intents/ExtensionTimeout.hpp"
#include "platform/kits/intents/KeyedUnarchiver.hpp"
#include "platform/kits/intents/Selector.hpp"

namespace intents {

ExtensionHost::ExtensionHost(std::vector<std::string> command, PrintedLine printed, ExtensionAnswerBounds bounds)
    : bounds_(bounds), process_(std::move(command), std::move(printed)) {}

ExtensionHost::~ExtensionHost() {
    finish();
}

int ExtensionHost::finish() {
    return process_.finish(bounds_.query);
}

std::optional<HandlerAnswer> ExtensionHost::perform(std::string_view selector, const std::shared_ptr<Intent>& intent) {
    if (!process_.isOpen()) {
        throw ExtensionError("the extension has ended");
    }
    ExtensionMessage request;
    request.id = nextId_++;
    request.selector = std::string(selector);
    request.intent = intent;
    const auto bound = request.selector == Selector::handle(intent->className()) ? bounds_.handling : bounds_.query;
    const auto deadline = ExtensionProcess::Clock::now() + bound;
    const auto fail = [&](ExtensionProcess::Outcome outcome) {
        if (outcome == ExtensionProcess::Outcome::timedOut) {
            process_.stop();
            throw ExtensionTimeout(request.selector, bound);
        }
        throw ExtensionError(process_.endedText(bounds_.query));
    };
    if (const auto sent = process_.send(request.line(), deadline); sent != ExtensionProcess::Outcome::done) {
        fail(sent);
    }
    for (;;) {
        auto received = process_.receive(deadline);
        if (received.outcome != ExtensionProcess::Outcome::done) {
            fail(received.outcome);
        }
        auto answer = ExtensionMessage::parse(received.message);
        if (answer.id != request.id) {
            if (answer.answer.error) {
                throw ExtensionError("the extension refused a request: " + *answer.answer.error);
            }
            continue;
        }
        if (!answer.responds) {
            return std::nullopt;
        }
        return std::move(answer.answer);
    }
}

HandlerAnswer ExtensionHost::require(std::string_view selector, const std::shared_ptr<Intent>& intent) {
    auto answer = perform(selector, intent);
    if (!answer) {
        throw ExtensionError("the extension's handler does not respond to " + std::string(selector));
    }
    return std::move(*answer);
}

std::shared_ptr<ResolutionResult> ExtensionHost::resolve(const std::shared_ptr<Intent>& intent,
                                                         std::string_view parameter) {
    const auto selector = Selector::resolve(intent->className(), parameter);
    auto answer = require(selector, intent);
    auto result = std::dynamic_pointer_cast<const ResolutionResult>(answer.object);
    if (!result) {
        throw ExtensionError("the extension answered " + selector + " with no resolution result");
    }
    return std::const_pointer_cast<ResolutionResult>(result);
}

std::shared_ptr<ObjectCollection> ExtensionHost::provideOptions(const std::shared_ptr<Intent>& intent,
                                                                std::string_view parameter) {
    const auto selector = Selector::provideOptionsCollection(intent->className(), parameter);
    auto answer = require(selector, intent);
    if (answer.error) {
        throw ExtensionError("the extension could not provide the options of " + std::string(parameter) + ": " +
                             *answer.error);
    }
    auto collection = std::dynamic_pointer_cast<const ObjectCollection>(answer.object);
    if (!collection) {
        throw ExtensionError("the extension provided no options for " + std::string(parameter));
    }
    return std::const_pointer_cast<ObjectCollection>(collection);
}

std::shared_ptr<Object> ExtensionHost::defaultValue(const std::shared_ptr<Intent>& intent, std::string_view parameter) {
    const auto answer = perform(Selector::defaultValue(intent->className(), parameter), intent);
    if (!answer || !answer->object) {
        return nullptr;
    }
    return std::const_pointer_cast<Object>(std::dynamic_pointer_cast<const Object>(answer->object));
}

std::shared_ptr<IntentResponse> ExtensionHost::handle(const std::shared_ptr<Intent>& intent) {
    const auto selector = Selector::handle(intent->className());
    auto answer = require(selector, intent);
    auto response = std::dynamic_pointer_cast<const IntentResponse>(answer.object);
    if (!response) {
        throw ExtensionError("the extension answered " + selector + " with no response");
    }
    return std::const_pointer_cast<IntentResponse>(response);
}

}  // namespace intents
