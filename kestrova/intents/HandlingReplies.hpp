#pragma once

#include "kestrova/intents/HandlingForms.hpp"
#include "kestrova/intents/IntentJournal.hpp"
#include "platform/kits/intents/HandlerObject.hpp"
#include "platform/kits/intents/ObjectCollection.hpp"
#include "platform/kits/intents/ObjectSection.hpp"

#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrova::handling {

// How the handling protocols answer the platform: each routes its selectors to
// its typed operations and hands what they complete with to the host.

using Reply = intents::HandlerObject::Reply;

// One selector of a protocol and the operation it starts on the typed intent.
template <typename TypedIntent>
struct Route {
    std::string_view selector;
    std::function<void(const std::shared_ptr<TypedIntent>&)> perform;
};

// Starts the operation of `selector`; false, starting nothing, when the intent
// is not of the protocol's class or the protocol has no such selector.
template <typename TypedIntent>
bool route(std::string_view selector, const std::shared_ptr<intents::Intent>& intent,
           std::initializer_list<Route<TypedIntent>> routes) {
    const auto typed = std::dynamic_pointer_cast<TypedIntent>(intent);
    if (!typed) {
        return false;
    }
    for (const auto& route : routes) {
        if (route.selector == selector) {
            route.perform(typed);
            return true;
        }
    }
    return false;
}

// The text of an error for the host, or none without an error.
inline std::optional<std::string> errorText(const std::exception_ptr& error) {
    return error ? std::optional<std::string>(describe(error)) : std::nullopt;
}

// A completion that hands its one answer (a response, a resolution result) on as it is.
template <typename Answer>
std::function<void(std::shared_ptr<Answer>)> answering(Reply reply) {
    return [reply = std::move(reply)](std::shared_ptr<Answer> answer) { reply({std::move(answer), std::nullopt}); };
}

// A completion of the options in sections, or of an error.
inline std::function<void(std::shared_ptr<intents::ObjectCollection>, std::exception_ptr)> answeringCollection(
    Reply reply) {
    return [reply = std::move(reply)](std::shared_ptr<intents::ObjectCollection> collection,
                                      std::exception_ptr error) { reply({std::move(collection), errorText(error)}); };
}

// A completion of the journal options as one flat list, or of none, or of an
// error: the host receives a list as a collection of one untitled section.
inline std::function<void(std::optional<std::vector<std::shared_ptr<IntentJournal>>>, std::exception_ptr)>
answeringJournalOptions(Reply reply) {
    return [reply = std::move(reply)](std::optional<std::vector<std::shared_ptr<IntentJournal>>> options,
                                      std::exception_ptr error) {
        std::shared_ptr<intents::ObjectCollection> collection;
        if (options) {
            std::vector<std::shared_ptr<intents::Object>> items(options->begin(), options->end());
            collection = std::make_shared<intents::ObjectCollection>(
                std::vector{std::make_shared<intents::ObjectSection>(std::nullopt, std::move(items))});
        }
        reply({std::move(collection), errorText(error)});
    };
}

}  // namespace kestrova::handling
