#include "platform/kits/intents/Selector.hpp"

#include <cctype>

namespace intents {
namespace {

std::string shortName(std::string_view intentClass) {
    constexpr std::string_view suffix = "Intent";
    if (intentClass.size() > suffix.size() && intentClass.ends_with(suffix)) {
        intentClass.remove_suffix(suffix.size());
    }
    return std::string(intentClass);
}

std::string raised(std::string_view parameter) {
    std::string name(parameter);
    if (!name.empty()) {
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    }
    return name;
}

}  // namespace

std::string Selector::handle(std::string_view intentClass) {
    return "handle" + shortName(intentClass) + ":completion:";
}

std::string Selector::confirm(std::string_view intentClass) {
    return "confirm" + shortName(intentClass) + ":completion:";
}

std::string Selector::resolve(std::string_view intentClass, std::string_view parameter) {
    return "resolve" + raised(parameter) + "For" + shortName(intentClass) + ":withCompletion:";
}

std::string Selector::provideOptionsCollection(std::string_view intentClass, std::string_view parameter) {
    return "provide" + raised(parameter) + "OptionsCollectionFor" + shortName(intentClass) + ":withCompletion:";
}

std::string Selector::provideOptions(std::string_view intentClass, std::string_view parameter) {
    return "provide" + raised(parameter) + "OptionsFor" + shortName(intentClass) + ":withCompletion:";
}

std::string Selector::defaultValue(std::string_view intentClass, std::string_view parameter) {
    return "default" + raised(parameter) + "For" + shortName(intentClass) + ":";
}

}  // namespace intents
