#pragma once

#include <string>
#include <string_view>

namespace intents {

// The names under which the platform sends an intent's operations to a
// handler, built from the intent's class name without its "Intent" suffix and
// the parameter's name with its first letter raised:
//
//     handle(CreateEntryIntent)            handleCreateEntry:completion:
//     resolve(CreateEntryIntent, journal)  resolveJournalForCreateEntry:withCompletion:
class Selector {
public:
    Selector() = delete;

    static std::string handle(std::string_view intentClass);
    static std::string confirm(std::string_view intentClass);
    static std::string resolve(std::string_view intentClass, std::string_view parameter);
    static std::string provideOptionsCollection(std::string_view intentClass, std::string_view parameter);
    static std::string provideOptions(std::string_view intentClass, std::string_view parameter);
    static std::string defaultValue(std::string_view intentClass, std::string_view parameter);
};

}  // namespace intents
